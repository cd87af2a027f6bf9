// The folders that need no configuration, against the system's own answers.
#include "TsEnvironment.h"

#include "ShellFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

namespace {

using tsen::testing::shellFolder;

TEST(SharedFoldersTest, SharedFoldersLieBelowTheCommonFilesFolder) {
  const std::string common = shellFolder(CSIDL_PROGRAM_FILES_COMMON);
  ASSERT_FALSE(common.empty());
  EXPECT_EQ(TsEnGetQuarzelSharedPath(), common + "\\Quarzel Shared");
  EXPECT_EQ(TsEnGetTessalineSharedPath(), common + "\\Quarzel Shared\\Tessaline");
}

TEST(SharedFoldersTest, TempFolderLosesItsTrailingBackslash) {
  char buffer[MAX_PATH + 1] = {};
  std::string temp(buffer, GetTempPathA(sizeof buffer, buffer));
  ASSERT_EQ(temp.back(), '\\');
  temp.pop_back();
  EXPECT_EQ(TsEnGetTempPath(), temp);
}

} // namespace
