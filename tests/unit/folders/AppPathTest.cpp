// The application folder: the parent of the library's "Binaries" folder,
// kept once found and asked for again while not found; and the copy that
// fills the path caches.
#include "ParamText.h"
#include "folders/PathCopy.h"
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <ostream>
#include <string>

namespace tsen::testing {
namespace {

struct ModuleRow {
  std::string moduleFile;
  std::string appPath;
};
void PrintTo(const ModuleRow& row, std::ostream* out) {
  *out << shown(row.moduleFile);
}

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
    {"D:\\Suite\\BINARIES\\x.dll", "D:\\Suite"},
    {"d:\\My Suite\\biNaRies\\x.dll", "d:\\My Suite"},
    {"C:\\Binaries\\x.dll", "C:"},
    {"D:\\Suite\\\\Binaries\\x.dll", "D:\\Suite"},
    {"\\\\server\\share\\Binaries\\x.dll", "\\\\server\\share"},
    {kLongFolder + "\\Binaries\\x.dll", kLongFolder},
    {"D:\\Suite\\MyBinaries\\x.dll", ""},
    {"D:\\Suite\\Binaries2\\x.dll", ""},
    {"D:\\Suite\\Bin\\x.dll", ""},
    {"D:\\Binaries\\Suite\\x.dll", ""},
    {"C:\\x.dll", ""},
    {"Binaries\\x.dll", ""},
    {"x.dll", ""},
    {"\\Binaries\\x.dll", ""},
    {"", ""},
};
INSTANTIATE_TEST_SUITE_P(ModuleFiles, AppPathTest, ::testing::ValuesIn(kRows));

TEST(PathCopyTest, DropsOneTrailingBackslash) {
  const std::string longPath(300, 'p');
  const struct {
    std::string source;
    std::string copied;
  } rows[] = {
      {"C:\\A\\", "C:\\A"},
      {"C:\\A\\\\", "C:\\A\\"},
      {"C:\\A", "C:\\A"},
      {"D:\\", "D:"},
      {"\\", ""},
      {"\\\\", "\\"},
      {"", ""},
      {longPath + "\\", longPath},
      {"A\\B", "A\\B"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.source);
    std::string destination(400, '#'); // an older, longer text must not survive
    CopyPathTrimBackslash(destination, row.source);
    EXPECT_EQ(destination, row.copied);
  }
}

} // namespace
} // namespace tsen::testing
