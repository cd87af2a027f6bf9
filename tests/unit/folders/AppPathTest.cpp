// The application folder: the parent of the library's "Binaries" folder,
// kept once found and asked for again while not found; and TsEnFileExist.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

namespace tsen::testing {
namespace {

struct ModuleRow {
  std::string moduleFile;
  std::string appPath;
  friend void PrintTo(const ModuleRow& row, std::ostream* out) { *out << shown(row.moduleFile); }
};

class AppPathTest : public FakeSystemTest, public ::testing::WithParamInterface<ModuleRow> {};

TEST_P(AppPathTest, FoundOnceOrAskedAgain) {
  const ModuleRow& row = GetParam();
  fake::setModuleFileName(row.moduleFile);
  EXPECT_EQ(TsEnGetAppPath(), row.appPath);

  installLibraryIn("E:\\Moved");
  fake::resetCalls();
  EXPECT_EQ(TsEnGetAppPath(), row.appPath.empty() ? "E:\\Moved" : row.appPath);
  EXPECT_EQ(fake::calls().moduleFileName, row.appPath.empty() ? 1 : 0);
}

const std::string kLongFolder = "D:\\" + std::string(150, 'a') + "\\" + std::string(150, 'B');

const ModuleRow kRows[] = {
    {"D:\\Suite\\Binaries\\Tessaline.Environment.dll", "D:\\Suite"},
    {"d:\\My Suite\\biNaRies\\x.dll", "d:\\My Suite"},
    {"C:\\Binaries\\x.dll", "C:"},
    {"D:\\Suite\\\\Binaries\\x.dll", "D:\\Suite"},
    {"\\\\server\\share\\Binaries\\x.dll", "\\\\server\\share"},
    {kLongFolder + "\\Binaries\\x.dll", kLongFolder},
    {"D:\\Suite\\MyBinaries\\x.dll", ""},
    {"D:\\Suite\\Binaries2\\x.dll", ""},
    {"D:\\Binaries\\Suite\\x.dll", ""},
    {"Binaries\\x.dll", ""},
    {"\\Binaries\\x.dll", ""},
    {"", ""},
};
INSTANTIATE_TEST_SUITE_P(ModuleFiles, AppPathTest, ::testing::ValuesIn(kRows));

TEST_F(FakeSystemTest, FileExistTellsAMissingPathOnlyWhenAsked) {
  ScratchFolder scratch;
  scratch.write("Folder/file.txt", "x");
  for (const std::string& path : {scratch.library("Folder"), scratch.library("Folder\\"),
                                  scratch.library("Folder") + "\\file.txt"}) {
    SCOPED_TRACE(path);
    EXPECT_TRUE(TsEnFileExist(path, false));
    EXPECT_TRUE(TsEnFileExist(path, true));
  }
  EXPECT_FALSE(TsEnFileExist("", true)) << "an empty path is never told";
  const std::string missing = scratch.library("No Such \"Folder\"") + "\\file.txt";
  EXPECT_FALSE(TsEnFileExist(missing, false));
  EXPECT_TRUE(fake::messageBoxes().empty());

  EXPECT_FALSE(TsEnFileExist(missing, true));
  const auto shown = fake::messageBoxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Unable to find the file \"" + missing + "\" !");
  EXPECT_EQ(shown[0].caption, "Tessaline");
  EXPECT_EQ(shown[0].style, 0x30u);
}

} // namespace
} // namespace tsen::testing
