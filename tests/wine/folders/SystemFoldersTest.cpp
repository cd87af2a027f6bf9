// The folders built on the system's known folders, against the system's own
// answers; the temporary configuration folder really made.
#include "TsEnvironment.h"

#include "tests/wine/ProductKeysGuard.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <filesystem>
#include <string>

namespace {

using namespace tsen::testing;

std::string shellFolder(int csidl) {
  char buffer[MAX_PATH] = {};
  EXPECT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer), S_OK) << csidl;
  return buffer;
}

// GetTempPathA without its trailing backslash.
std::string tempFolder() {
  char buffer[MAX_PATH + 1] = {};
  return std::string(buffer, GetTempPathA(sizeof buffer, buffer) - 1);
}

TEST(SystemFoldersTest, SharedUserAndTemporaryFoldersLieBelowTheSystemsFolders) {
  const ProductKeysGuard guard;
  const std::string common = shellFolder(CSIDL_PROGRAM_FILES_COMMON), temp = tempFolder();
  ASSERT_FALSE(common.empty());
  EXPECT_EQ(TsEnGetQuarzelSharedPath(), common + "\\Quarzel Shared");
  EXPECT_EQ(TsEnGetTessalineSharedPath(), common + "\\Quarzel Shared\\Tessaline");
  EXPECT_EQ(TsEnGetTempPath(), temp);

  // A configuration of this process's own: no other test shares its folders.
  const std::string config = "Cfg-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1840, "Current Config", config));
  const std::string below = "\\Quarzel\\Tessaline\\18.40\\" + config;
  const std::string userData = shellFolder(CSIDL_APPDATA) + below;
  EXPECT_EQ(TsEnGetUserDataPath(), userData);
  EXPECT_FALSE(std::filesystem::exists(userData)) << "the user data folder is not made";

  const std::string expected = temp + below;
  ASSERT_FALSE(std::filesystem::exists(expected));
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), expected);
  EXPECT_TRUE(std::filesystem::is_directory(expected));
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), expected) << "once it exists";

  std::error_code ignored;
  std::filesystem::remove_all(expected, ignored);
  // The folders above too, unless another test's folder is in them.
  for (auto up = std::filesystem::path(expected).parent_path(); up != temp; up = up.parent_path()) {
    std::filesystem::remove(up, ignored);
  }
}

} // namespace
