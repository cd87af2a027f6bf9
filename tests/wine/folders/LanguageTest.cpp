// The language code read from the real registry in either layout, and kept
// for the life of the process once read.
#include "TsEnvironment.h"

#include "Layouts.h"

#include <gtest/gtest.h>

namespace {

using namespace tsen::testing;

class LanguageTest : public ::testing::TestWithParam<Layout> {
protected:
  ProductKeysGuard guard;
};

TEST_P(LanguageTest, ReadThroughTheLayoutInForceThenKept) {
  const Layout& layout = GetParam();
  const Layout& other = layout.flag ? kLayout1840 : kLayout1901;
  ASSERT_TRUE(select(layout));
  ASSERT_TRUE(setKernelValue(layout, "Language", "nor"));
  ASSERT_TRUE(setKernelValue(other, "Language", "DAN"));
  EXPECT_EQ(TsEnGetLanguageCode(), "nor");
  EXPECT_EQ(TsEnGetLanguageCodeID(), 1044u);

  // Neither a new value nor a switch of layout reaches the kept code.
  ASSERT_TRUE(setKernelValue(layout, "Language", "FIN"));
  EXPECT_EQ(TsEnGetLanguageCode(), "nor");
  ASSERT_TRUE(select(other));
  EXPECT_EQ(TsEnGetLanguageCode(), "nor");
  EXPECT_EQ(TsEnGetLanguageName(), "Norwegian");
  EXPECT_EQ(TsEnGetLanguageCountry(), "Norway");
}

INSTANTIATE_TEST_SUITE_P(Layouts, LanguageTest, ::testing::Values(kLayout1840, kLayout1901),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LanguageCodeTest, MissingCodeIsAskedForAgain) {
  const ProductKeysGuard guard;
  EXPECT_EQ(TsEnGetLanguageCode(), "");
  EXPECT_EQ(TsEnGetLanguageCodeID(), 2057u);
  ASSERT_TRUE(setKernelValue(kLayout1840, "Language", ""));
  EXPECT_EQ(TsEnGetLanguageCode(), "");

  ASSERT_TRUE(setKernelValue(kLayout1840, "Language", "SWE\\"));
  EXPECT_EQ(TsEnGetLanguageCode(), "SWE");
  EXPECT_EQ(TsEnGetLanguageName(), "Swedish");
}

} // namespace
