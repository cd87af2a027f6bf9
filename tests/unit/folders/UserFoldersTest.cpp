// The per-user folders below the roaming application data folder and the
// temporary folder (version segment of the layout, then the configuration),
// the My Tessaline folder and the shared folders below the common files.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

namespace tsen::testing {
namespace {

std::string segment(bool layout19) {
  return layout19 ? "19.01\\RA_Zora" : "18.40";
}

// Sets (or with nothing removes) the configuration of the layout it chooses.
void setConfig(bool layout19, const std::optional<std::string>& config) {
  fake::setDword(kHKCU, kQvrKey, "QVRConnect", layout19 ? 1 : 0);
  const std::string key(layout19 ? kKernel1901 : kKernel1840);
  fake::createKey(kHKCU, key);
  if (config) {
    fake::setString(kHKCU, key, "Current Config", *config);
  } else {
    fake::removeValue(kHKCU, key, "Current Config");
  }
}

TEST_F(FakeSystemTest, UserDataFollowsRoamingFolderLayoutAndConfiguration) {
  const std::string roaming = "C:\\Users\\user\\AppData\\Roaming";
  const struct {
    std::optional<std::string> roaming; // nothing: the shell call fails
    std::optional<std::string> config;  // nothing: no value
    std::optional<std::string> prefix;  // then segment and configuration; nothing: ""
  } rows[] = {
      {roaming, "Rail Works", roaming},
      {roaming + "\\\\", "Road", roaming},
      {"\\", "Road", ""},
      {roaming, "", std::nullopt},
      {roaming, std::nullopt, std::nullopt},
      {"", "Road", std::nullopt},
      {std::nullopt, "Road", std::nullopt},
  };
  for (const bool layout19 : {false, true}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(row.roaming.value_or("(failed)") + " / " + row.config.value_or("(none)"));
      fake::setKnownFolder(fake::KnownFolder::roamingAppData, row.roaming);
      setConfig(layout19, row.config);
      EXPECT_EQ(TsEnGetUserDataPath(), row.prefix
                                           ? *row.prefix + "\\Quarzel\\Tessaline\\" +
                                                 segment(layout19) + "\\" + row.config.value_or("")
                                           : "");
    }
  }
}

TEST_F(FakeSystemTest, TempFolderLosesOneBackslashItsAppDataStyleFolderAllAndIsCreated) {
  ScratchFolder scratch;
  const std::string temp = scratch.library("missing\\tmp");
  const struct {
    std::string reported;
    std::string tempPath;
  } rows[] = {{temp + "\\", temp}, {temp + "\\\\", temp + "\\"}, {temp, temp}};
  for (const bool layout19 : {false, true}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(row.reported);
      for (const auto& config : {std::optional<std::string>(""), std::optional<std::string>()}) {
        setConfig(layout19, config);
        EXPECT_EQ(TsEnGetTempPathAppDataStyle(), "") << "no configuration";
      }
      EXPECT_FALSE(std::filesystem::exists(scratch.path() / "missing/tmp/Quarzel"));
      setConfig(layout19, "Road");
      fake::setTempFolder(row.reported);
      EXPECT_EQ(TsEnGetTempPath(), row.tempPath);
      const std::string appDataStyle = TsEnGetTempPathAppDataStyle();
      EXPECT_EQ(appDataStyle, temp + "\\Quarzel\\Tessaline\\" + segment(layout19) + "\\Road");
      EXPECT_TRUE(std::filesystem::is_directory(scratch.path() / "missing/tmp/Quarzel/Tessaline" /
                                                (layout19 ? "19.01/RA_Zora" : "18.40") / "Road"));
      std::filesystem::remove_all(scratch.path() / "missing/tmp/Quarzel");
    }
  }
  // Without a temporary folder: nothing, rather than a folder below the root.
  fake::setTempFolder(std::nullopt);
  EXPECT_EQ(TsEnGetTempPath(), "");
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), "");
}

TEST_F(FakeSystemTest, SharedFoldersAppendTheirFoldersToTheCommonFilesFolder) {
  const std::string common = "C:\\Program Files\\Common Files";
  const struct {
    std::optional<std::string> common; // nothing: the shell call fails
    std::string quarzel;
  } rows[] = {
      {common, common + "\\Quarzel Shared"},
      {common + "\\", common + "\\\\Quarzel Shared"},
      {"", "\\Quarzel Shared"},
      {std::nullopt, ""},
  };
  setLayout19(true);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.common.value_or("(failed)"));
    fake::setKnownFolder(fake::KnownFolder::commonFiles, row.common);
    EXPECT_EQ(TsEnGetQuarzelSharedPath(), row.quarzel);
    EXPECT_EQ(TsEnGetTessalineSharedPath(), row.quarzel + "\\Tessaline");
  }
}

// The registry value when present (even empty), else the user data folder;
// kept once non-empty. Each case in a process of its own, for the cache.
struct ValueRow {
  std::string stored;
  std::string expected;
  friend void PrintTo(const ValueRow& row, std::ostream* out) { *out << shown(row.stored); }
};

class MyTessalineTest : public FakeSystemTest,
                        public ::testing::WithParamInterface<std::tuple<bool, ValueRow>> {};

TEST_P(MyTessalineTest, ValueKeptOnceNonEmpty) {
  const auto& [layout19, row] = GetParam();
  fake::setKnownFolder(fake::KnownFolder::roamingAppData, "C:\\Roaming");
  setConfig(layout19, "Road");
  fake::setString(kHKCU, kernelKey(!layout19), "My Tessaline Directory", "X:\\Other Layout");
  fake::setString(kHKCU, kernelKey(layout19), "My Tessaline Directory", row.stored);
  EXPECT_EQ(TsEnGetMyTessalinePath(), row.expected);
  // A present value is the answer, even an empty one: no user data folder.
  EXPECT_EQ(fake::calls().knownFolder, 0);

  fake::setString(kHKCU, kernelKey(layout19), "My Tessaline Directory", "E:\\Other");
  fake::resetCalls();
  EXPECT_EQ(TsEnGetMyTessalinePath(), row.expected.empty() ? "E:\\Other" : row.expected);
  if (!row.expected.empty()) {
    const fake::CallCounts counts = fake::calls();
    EXPECT_EQ(counts.regOpenKey + counts.regQueryValue + counts.knownFolder, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, MyTessalineTest,
    ::testing::Combine(::testing::Bool(),
                       ::testing::Values(ValueRow{"D:\\Work\\", "D:\\Work"},
                                         ValueRow{"D:\\Work", "D:\\Work"},
                                         ValueRow{"D:\\Work\\\\", "D:\\Work\\"},
                                         ValueRow{"D:\\", "D:"}, ValueRow{"\\", ""},
                                         ValueRow{"", ""},
                                         ValueRow{"D:\\" + std::string(297, 'w'),
                                                  "D:\\" + std::string(297, 'w')})));

TEST_F(FakeSystemTest, MyTessalineWithoutValueIsTheUserDataFolderKeptOnceFound) {
  fake::setKnownFolder(fake::KnownFolder::roamingAppData, "C:\\Roaming\\");
  // No Kernel Services key, hence no configuration either: nothing, asked again.
  EXPECT_EQ(TsEnGetMyTessalinePath(), "");
  EXPECT_EQ(fake::calls().knownFolder, 1);

  setConfig(true, "Road");
  const std::string userData = "C:\\Roaming\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Road";
  EXPECT_EQ(TsEnGetMyTessalinePath(), userData);
  fake::setString(kHKCU, kKernel1901, "My Tessaline Directory", "D:\\Work");
  fake::setString(kHKCU, kKernel1901, "Current Config", "Rail");
  EXPECT_EQ(TsEnGetMyTessalinePath(), userData);
}

} // namespace
} // namespace tsen::testing
