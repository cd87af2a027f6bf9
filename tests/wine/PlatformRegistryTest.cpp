// The Win32 backend's registry calls: the contract of the size and buffer
// handshake that the accessor builds on.
#include "platform/Platform.h"

#include "RawRegistry.h"
#include "ScratchKey.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

namespace platform = tsen::platform;
using tsen::testing::bytesOf;
using tsen::testing::ScratchKey;

class PlatformRegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(tsen::testing::writeRaw(HKEY_CURRENT_USER, scratch.path(), "Text", REG_SZ,
                                        bytesOf(std::string("Road", 5))));
    ASSERT_TRUE(platform::regOpenKey(platform::kCurrentUser, scratch.path().c_str(), key));
  }
  void TearDown() override {
    if (key) {
      EXPECT_TRUE(platform::regCloseKey(key));
    }
  }
  ScratchKey scratch;
  HKEY key = nullptr;
};

TEST_F(PlatformRegistryTest, PredefinedRootsAreTheSystemsOwn) {
  EXPECT_EQ(platform::kClassesRoot, HKEY_CLASSES_ROOT);
  EXPECT_EQ(platform::kCurrentUser, HKEY_CURRENT_USER);
  EXPECT_EQ(platform::kLocalMachine, HKEY_LOCAL_MACHINE);
}

TEST_F(PlatformRegistryTest, QueryWithoutBufferAnswersTheSize) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  ASSERT_TRUE(platform::regQueryValue(key, "Text", &type, nullptr, size));
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(type, platform::kRegSz);
}

TEST_F(PlatformRegistryTest, QueryIntoShortBufferFailsAndAnswersTheSizeNeeded) {
  char buffer[3] = {'#', '#', '#'};
  std::uint32_t size = sizeof buffer;
  EXPECT_FALSE(platform::regQueryValue(key, "Text", nullptr, buffer, size));
  EXPECT_EQ(size, 5u);
}

TEST_F(PlatformRegistryTest, QueryIntoBufferCopiesTheData) {
  char buffer[16] = {};
  std::uint32_t size = sizeof buffer;
  ASSERT_TRUE(platform::regQueryValue(key, "Text", nullptr, buffer, size));
  EXPECT_EQ(size, 5u);
  EXPECT_STREQ(buffer, "Road");
}

TEST_F(PlatformRegistryTest, QueryOfMissingValueFails) {
  std::uint32_t size = 0;
  EXPECT_FALSE(platform::regQueryValue(key, "Missing", nullptr, nullptr, size));
}

TEST_F(PlatformRegistryTest, CreateMakesMissingParentsAndSetStoresTheBytes) {
  HKEY created = nullptr;
  const std::string path = scratch.below("A\\B");
  ASSERT_TRUE(platform::regCreateKey(platform::kCurrentUser, path.c_str(), created));
  const std::uint32_t number = 0x01020304;
  EXPECT_TRUE(platform::regSetValue(created, "Number", platform::kRegDword, &number, 4));
  EXPECT_TRUE(platform::regCloseKey(created));
  const auto stored = tsen::testing::readRaw(HKEY_CURRENT_USER, path, "Number");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(stored->bytes, tsen::testing::dwordBytes(number));
}

TEST_F(PlatformRegistryTest, OpenOfMissingKeyFails) {
  HKEY missing = nullptr;
  EXPECT_FALSE(
      platform::regOpenKey(platform::kCurrentUser, scratch.below("Missing").c_str(), missing));
}

} // namespace
