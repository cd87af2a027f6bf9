// The folders the library builds on the system's known folders, against the
// system's own answers; the temporary configuration folder really made.
#include "TsEnvironment.h"

#include "tests/wine/ProductKeysGuard.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <filesystem>
#include <string>

namespace {

using namespace tsen::testing;

// SHGetFolderPathA's current location of a known folder; fails the test
// when the system has none.
std::string shellFolder(int csidl) {
  char buffer[MAX_PATH] = {};
  EXPECT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer), S_OK) << csidl;
  return buffer;
}

// GetTempPathA without its trailing backslash.
std::string tempFolderTrimmed() {
  char buffer[MAX_PATH + 1] = {};
  std::string temp(buffer, GetTempPathA(sizeof buffer, buffer));
  EXPECT_EQ(temp.back(), '\\');
  temp.pop_back();
  return temp;
}

TEST(SystemFoldersTest, SharedAndTemporaryFoldersFollowTheSystem) {
  const std::string common = shellFolder(CSIDL_PROGRAM_FILES_COMMON);
  ASSERT_FALSE(common.empty());
  EXPECT_EQ(TsEnGetQuarzelSharedPath(), common + "\\Quarzel Shared");
  EXPECT_EQ(TsEnGetTessalineSharedPath(), common + "\\Quarzel Shared\\Tessaline");
  EXPECT_EQ(TsEnGetTempPath(), tempFolderTrimmed());
}

TEST(SystemFoldersTest, ConfigurationFoldersLieBelowTheRoamingAndTemporaryFolders) {
  const ProductKeysGuard guard;
  // A configuration of this process's own: no other test shares its folders.
  const std::string config = "Cfg-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1840, "Current Config", config));
  const std::string below = "\\Quarzel\\Tessaline\\18.40\\" + config;
  const std::string userData = shellFolder(CSIDL_APPDATA) + below;
  EXPECT_EQ(TsEnGetUserDataPath(), userData);
  EXPECT_FALSE(std::filesystem::exists(userData)) << "the user data folder is not made";

  const std::string temp = tempFolderTrimmed();
  const std::string expected = temp + below;
  ASSERT_FALSE(std::filesystem::exists(expected));
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), expected);
  EXPECT_TRUE(std::filesystem::is_directory(expected));
  // An existing folder is no obstacle.
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), expected);

  std::error_code ignored;
  std::filesystem::remove_all(expected, ignored);
  // The folders above, unless another test's folder is in them.
  for (auto up = std::filesystem::path(expected).parent_path(); up != temp; up = up.parent_path()) {
    std::filesystem::remove(up, ignored);
  }
}

} // namespace
