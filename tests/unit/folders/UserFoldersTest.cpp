// The per-user folders below the roaming application data folder and the
// temporary folder: version segment of the layout, then the configuration.
// Both follow a change of layout or configuration at the next call.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>

namespace tsen::testing {
namespace {

class UserFoldersTest : public FakeSystemTest {
protected:
  static std::string segment(bool layout19) { return layout19 ? "19.01\\RA_Zora" : "18.40"; }
  // Sets (or with nothing removes) the configuration of the layout in force.
  static void setConfig(bool layout19, const std::optional<std::string>& config) {
    setLayout19(layout19);
    fake::createKey(kHKCU, kernelKey(layout19));
    if (config) {
      fake::setString(kHKCU, kernelKey(layout19), "Current Config", *config);
    } else {
      fake::removeValue(kHKCU, kernelKey(layout19), "Current Config");
    }
  }
  static std::filesystem::path hostPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
  }
};

TEST_F(UserFoldersTest, UserDataFollowsRoamingFolderLayoutAndConfiguration) {
  const std::string roaming = "C:\\Users\\user\\AppData\\Roaming";
  const struct {
    std::optional<std::string> roaming; // nothing: the shell call fails
    std::optional<std::string> config;  // nothing: no value
    std::optional<std::string> prefix;  // then segment and configuration; nothing: ""
  } rows[] = {
      {roaming, "Road", roaming},
      {roaming + "\\", "Road", roaming},
      {roaming + "\\\\", "Road", roaming},
      {"\\", "Road", ""},
      {roaming, "Rail Works", roaming},
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

TEST_F(UserFoldersTest, TempFolderLosesOneBackslashItsAppDataStyleFolderAllAndIsCreated) {
  ScratchFolder scratch;
  const std::string temp = scratch.library("missing\\tmp");
  const struct {
    std::string reported;
    std::string tempPath;
  } rows[] = {{temp + "\\", temp}, {temp + "\\\\", temp + "\\"}, {temp, temp}};
  for (const bool layout19 : {false, true}) {
    setConfig(layout19, "Road");
    for (const auto& row : rows) {
      SCOPED_TRACE(row.reported);
      fake::setTempFolder(row.reported);
      EXPECT_EQ(TsEnGetTempPath(), row.tempPath);
      const std::string appDataStyle = TsEnGetTempPathAppDataStyle();
      EXPECT_EQ(appDataStyle, temp + "\\Quarzel\\Tessaline\\" + segment(layout19) + "\\Road");
      EXPECT_TRUE(std::filesystem::is_directory(hostPath(appDataStyle)));
    }
  }
}

TEST_F(UserFoldersTest, AppDataStyleNeedsConfigurationAndTemporaryFolder) {
  ScratchFolder scratch;
  fake::setTempFolder(scratch.library("tmp") + "\\");
  for (const bool layout19 : {false, true}) {
    for (const std::optional<std::string>& config :
         {std::optional<std::string>(""), std::optional<std::string>()}) {
      setConfig(layout19, config);
      EXPECT_EQ(TsEnGetTempPathAppDataStyle(), "");
      EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
    }
  }
  // Without a temporary folder: nothing, rather than a folder below the root.
  setConfig(false, "Road");
  fake::setTempFolder(std::nullopt);
  EXPECT_EQ(TsEnGetTempPath(), "");
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), "");
}

} // namespace
} // namespace tsen::testing
