// The folders built on the system's known folders. The interop tests find the application
// folder from the library's own file name, their program lying outside Binaries.
#include "TsEnvironment.h"

#include "WinSystem.h"

#include <shlobj.h>

#include <filesystem>

namespace {

using namespace tsen::testing;

std::string shellFolder(int csidl) {
  char buffer[MAX_PATH] = {};
  EXPECT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer), S_OK) << csidl;
  return buffer;
}

TEST(SystemFoldersTest, SharedUserAndTemporaryFoldersLieBelowTheSystemsFolders) {
  const ProductKeysGuard guard;
  char buffer[MAX_PATH + 1] = {};
  const std::string temp(buffer, GetTempPathA(sizeof buffer, buffer) - 1);
  const std::string common = shellFolder(CSIDL_PROGRAM_FILES_COMMON);
  EXPECT_EQ(TsEnGetTessalineSharedPath(), common + "\\Quarzel Shared\\Tessaline");
  EXPECT_EQ(TsEnGetTempPath(), temp);

  // A configuration of this process's own, so a parent of its folder is missing.
  const std::string own = "Cfg-" + std::to_string(GetCurrentProcessId()), config = own + "\\Sub";
  ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1840, "Current Config", config));
  const std::string below = "\\Quarzel\\Tessaline\\18.40\\" + config;
  EXPECT_EQ(TsEnGetUserDataPath(), shellFolder(CSIDL_APPDATA) + below);
  const std::string made = temp + below;
  ASSERT_FALSE(std::filesystem::exists(made));
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), made);
  EXPECT_TRUE(std::filesystem::is_directory(made));
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), made) << "once it exists";

  std::filesystem::remove_all(temp + "\\Quarzel\\Tessaline\\18.40\\" + own);
}

} // namespace
