// The My Tessaline folder: the registry value when present (even empty),
// else the user data folder; kept once non-empty.
#include "ParamText.h"
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <ostream>
#include <string>

namespace tsen::testing {
namespace {

constexpr const char* kValueName = "My Tessaline Directory";

struct ValueRow {
  std::string stored;
  std::string expected;
};
void PrintTo(const ValueRow& row, std::ostream* out) {
  *out << shown(row.stored);
}

class MyTessalineTest : public FakeSystemTest,
                        public ::testing::WithParamInterface<std::tuple<bool, ValueRow>> {};

TEST_P(MyTessalineTest, ValueKeptOnceNonEmpty) {
  const auto& [layout19, row] = GetParam();
  setLayout19(layout19);
  fake::setKnownFolder(fake::KnownFolder::roamingAppData, "C:\\Roaming");
  fake::setString(kHKCU, kernelKey(layout19), "Current Config", "Road");
  fake::setString(kHKCU, kernelKey(!layout19), kValueName, "X:\\Other Layout");
  fake::setString(kHKCU, kernelKey(layout19), kValueName, row.stored);
  EXPECT_EQ(TsEnGetMyTessalinePath(), row.expected);
  // A present value is the answer, even an empty one: no user data folder.
  EXPECT_EQ(fake::calls().knownFolder, 0);

  fake::setString(kHKCU, kernelKey(layout19), kValueName, "E:\\Other");
  fake::resetCalls();
  EXPECT_EQ(TsEnGetMyTessalinePath(), row.expected.empty() ? "E:\\Other" : row.expected);
  if (!row.expected.empty()) {
    const fake::CallCounts counts = fake::calls();
    EXPECT_EQ(counts.regOpenKey + counts.regQueryValue + counts.knownFolder, 0);
  }
}

const ValueRow kValues[] = {
    {"D:\\Work\\", "D:\\Work"},
    {"D:\\Work", "D:\\Work"},
    {"D:\\Work\\\\", "D:\\Work\\"},
    {"D:\\", "D:"},
    {"\\\\server\\share\\", "\\\\server\\share"},
    {"\\", ""},
    {"", ""},
    {"D:\\" + std::string(297, 'w'), "D:\\" + std::string(297, 'w')},
};
INSTANTIATE_TEST_SUITE_P(Values, MyTessalineTest,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(kValues)));

class MyTessalineFallbackTest : public FakeSystemTest,
                                public ::testing::WithParamInterface<bool> {};

TEST_P(MyTessalineFallbackTest, WithoutValueTheUserDataFolderIsKeptOnceFound) {
  const bool layout19 = GetParam();
  setLayout19(layout19);
  fake::setKnownFolder(fake::KnownFolder::roamingAppData, "C:\\Roaming\\");
  // No Kernel Services key, hence no configuration either: nothing, asked again.
  EXPECT_EQ(TsEnGetMyTessalinePath(), "");
  EXPECT_EQ(fake::calls().knownFolder, 1);

  fake::setString(kHKCU, kernelKey(layout19), "Current Config", "Road");
  const std::string userData = std::string("C:\\Roaming\\Quarzel\\Tessaline\\") +
                               (layout19 ? "19.01\\RA_Zora" : "18.40") + "\\Road";
  EXPECT_EQ(TsEnGetMyTessalinePath(), userData);

  fake::setString(kHKCU, kernelKey(layout19), kValueName, "D:\\Work");
  fake::setString(kHKCU, kernelKey(layout19), "Current Config", "Rail");
  EXPECT_EQ(TsEnGetMyTessalinePath(), userData);
}
INSTANTIATE_TEST_SUITE_P(Layouts, MyTessalineFallbackTest, ::testing::Bool());

} // namespace
} // namespace tsen::testing
