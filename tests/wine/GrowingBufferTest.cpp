// The grow-and-retry reader against the answers Win32 fill calls give.
#include "platform/win32/GrowingBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using tsen::platform::win32::readGrowing;

// How a call tells that the buffer was too small.
enum class ShortBuffer {
  answersCapacity,   // truncates and answers the capacity (GetModuleFileNameA)
  answersNeededSize, // writes nothing and answers length + 1 (GetTempPathA)
};

// A fill call that holds text and remembers the capacities it was offered.
struct FakeFill {
  std::string text;
  ShortBuffer style;
  std::vector<DWORD>* offered;

  DWORD operator()(char* buffer, DWORD capacity) const {
    offered->push_back(capacity);
    const auto length = static_cast<DWORD>(text.size());
    if (length < capacity) {
      std::memcpy(buffer, text.c_str(), length + 1);
      return length;
    }
    if (style == ShortBuffer::answersNeededSize) {
      return length + 1;
    }
    std::memcpy(buffer, text.data(), capacity - 1);
    buffer[capacity - 1] = '\0';
    return capacity;
  }
};

struct GrowCase {
  const char* name;
  std::size_t length;
  ShortBuffer style;
  std::size_t calls;
};

class ReadGrowingTest : public ::testing::TestWithParam<GrowCase> {};

TEST_P(ReadGrowingTest, ReturnsTheWholeText) {
  const GrowCase& c = GetParam();
  std::string text;
  for (std::size_t i = 0; i < c.length; ++i) {
    text += static_cast<char>('a' + i % 26);
  }
  std::vector<DWORD> offered;
  const auto result = readGrowing(FakeFill{text, c.style, &offered}, 16);
  ASSERT_TRUE(result);
  EXPECT_EQ(*result, text);
  EXPECT_EQ(offered.size(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ReadGrowingTest,
    ::testing::Values(GrowCase{"Short", 3, ShortBuffer::answersCapacity, 1},
                      GrowCase{"OneBelowCapacity", 15, ShortBuffer::answersCapacity, 1},
                      GrowCase{"ExactlyCapacityTruncates", 16, ShortBuffer::answersCapacity, 2},
                      GrowCase{"ManyDoublings", 100, ShortBuffer::answersCapacity, 4},
                      GrowCase{"NeededSizeOnce", 16, ShortBuffer::answersNeededSize, 2},
                      GrowCase{"NeededSizeLong", 5000, ShortBuffer::answersNeededSize, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadGrowing, FailureIsNothing) {
  EXPECT_FALSE(readGrowing([](char*, DWORD) -> DWORD { return 0; }));
}

TEST(ReadGrowing, GivesUpOnEndlessGrowth) {
  std::vector<DWORD> offered;
  EXPECT_FALSE(readGrowing([&](char*, DWORD capacity) {
    offered.push_back(capacity);
    return capacity;
  }));
  ASSERT_FALSE(offered.empty());
  EXPECT_LE(offered.back(), tsen::platform::win32::kLargestTextBuffer);
}

} // namespace
