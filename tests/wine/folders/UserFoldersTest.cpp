// The per-user folders of the current configuration in both registry
// layouts, against the system's roaming and temporary folders.
#include "TsEnvironment.h"

#include "Layouts.h"
#include "ShellFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <filesystem>
#include <string>

namespace {

using namespace tsen::testing;

// Removes a configuration folder below the temporary folder, then the
// folders above it that are left empty.
class RemovedFolder {
public:
  explicit RemovedFolder(std::string path) : path_(std::move(path)) {}
  ~RemovedFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::path up = std::filesystem::path(path_).parent_path();
    while (std::filesystem::remove(up, ignored) && up.filename() != "Quarzel") {
      up = up.parent_path();
    }
  }
  RemovedFolder(const RemovedFolder&) = delete;
  RemovedFolder& operator=(const RemovedFolder&) = delete;

private:
  std::string path_;
};

class UserFoldersTest : public ::testing::TestWithParam<Layout> {
protected:
  ProductKeysGuard guard;
  const std::string config = nameOfThisTest("Cfg");
};

TEST_P(UserFoldersTest, UserDataFolderIsBelowTheRoamingFolder) {
  const Layout& layout = GetParam();
  ASSERT_TRUE(select(layout));
  ASSERT_TRUE(setKernelValue(layout, "Current Config", config));
  const std::string expected = configurationFolder(shellFolder(CSIDL_APPDATA), layout, config);
  EXPECT_EQ(TsEnGetUserDataPath(), expected);
  EXPECT_FALSE(std::filesystem::exists(expected)) << "the user data folder is not created";
}

TEST_P(UserFoldersTest, TempConfigurationFolderIsCreated) {
  const Layout& layout = GetParam();
  ASSERT_TRUE(select(layout));
  ASSERT_TRUE(setKernelValue(layout, "Current Config", config));
  const std::string expected = configurationFolder(tempFolderTrimmed(), layout, config);
  const RemovedFolder cleanup(expected);
  ASSERT_FALSE(std::filesystem::exists(expected));

  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), expected);
  EXPECT_TRUE(std::filesystem::is_directory(expected));
  // An existing folder is no obstacle.
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), expected);
}

TEST_P(UserFoldersTest, NoConfigurationMeansNoFolderAndNothingCreated) {
  const Layout& layout = GetParam();
  ASSERT_TRUE(select(layout));
  ASSERT_TRUE(setKernelValue(layout, "Current Config", ""));
  const std::string layoutFolder =
      tempFolderTrimmed() + "\\Quarzel\\Tessaline\\" + layout.folderSegment;
  const bool existedBefore = std::filesystem::exists(layoutFolder);

  EXPECT_EQ(TsEnGetUserDataPath(), "");
  EXPECT_EQ(TsEnGetTempPathAppDataStyle(), "");
  if (!existedBefore) {
    EXPECT_FALSE(std::filesystem::exists(layoutFolder));
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, UserFoldersTest, ::testing::Values(kLayout1840, kLayout1901),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MyTessalineFolderTest, FallsBackToTheUserDataFolderAndKeepsIt) {
  const ProductKeysGuard guard;
  const std::string config = nameOfThisTest("Cfg");
  ASSERT_TRUE(setKernelValue(kLayout1840, "Current Config", config));
  const std::string userData = configurationFolder(shellFolder(CSIDL_APPDATA), kLayout1840, config);
  EXPECT_EQ(TsEnGetMyTessalinePath(), userData);

  ASSERT_TRUE(setKernelValue(kLayout1840, "My Tessaline Directory", "D:\\Work\\"));
  EXPECT_EQ(TsEnGetMyTessalinePath(), userData);
}

TEST(MyTessalineFolderTest, RegistryValueLosesOneTrailingBackslash) {
  const ProductKeysGuard guard;
  ASSERT_TRUE(setKernelValue(kLayout1840, "My Tessaline Directory", "D:\\Work\\\\"));
  EXPECT_EQ(TsEnGetMyTessalinePath(), "D:\\Work\\");
}

} // namespace
