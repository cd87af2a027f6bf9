#include "expansion/TextHelpers.h"

#include <gtest/gtest.h>

#include <array>

namespace tsen {
namespace {

TEST(FormatTextTest, CutsAt1023CharactersAndTakesNoFormatAsEmpty) {
  for (std::size_t length : {0, 1, 1022, 1023, 1024, 5000}) {
    const std::string text(length, 'f');
    EXPECT_EQ(FormatText("%s", text.c_str()), text.substr(0, 1023)) << length;
  }
  EXPECT_EQ(FormatText("%d-%s-%c", 7, "x", 'y'), "7-x-y");
  const char* noFormat = nullptr;
  EXPECT_EQ(FormatText(noFormat), "");
}

TEST(UpperCaseTest, EveryByteAgainstTheReference) {
  std::array<unsigned char, 256> reference{};
  for (int c = 0; c < 256; ++c) {
    reference[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  }
  // The Latin-1 letters of the suite's languages: ä å æ ö ø.
  for (int c : {0xE4, 0xE5, 0xE6, 0xF6, 0xF8}) {
    reference[c] = static_cast<unsigned char>(c - 0x20);
  }
  std::string all(256, '\0');
  for (int c = 0; c < 256; ++c) {
    all[c] = static_cast<char>(c);
    EXPECT_EQ(static_cast<unsigned char>(UpperCaseChar(static_cast<char>(c))), reference[c]) << c;
  }
  const std::string upper = UpperCaseCopy(all);
  ASSERT_EQ(upper.size(), all.size());
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(static_cast<unsigned char>(upper[c]), reference[c]) << c;
  }
}

} // namespace
} // namespace tsen
