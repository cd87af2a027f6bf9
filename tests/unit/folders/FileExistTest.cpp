// TsEnFileExist: files and folders count; a missing path is told to the user
// only when asked, an empty one never.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <string>

namespace tsen::testing {
namespace {

class FileExistTest : public FakeSystemTest {
protected:
  ScratchFolder scratch_;
};

TEST_F(FileExistTest, ExistingFilesAndFoldersNeedNoMessage) {
  scratch_.write("Folder/file.txt", "x");
  for (const std::string& path : {scratch_.library("Folder"), scratch_.library("Folder\\"),
                                  scratch_.library("Folder") + "\\file.txt"}) {
    for (const bool showMessage : {false, true}) {
      SCOPED_TRACE(path);
      EXPECT_TRUE(TsEnFileExist(path, showMessage));
    }
  }
  EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(FileExistTest, MissingPathIsToldOnlyWhenAsked) {
  const std::string missing = scratch_.library("No Such \"Folder\"") + "\\file.txt";
  EXPECT_FALSE(TsEnFileExist(missing, false));
  EXPECT_TRUE(fake::messageBoxes().empty());

  EXPECT_FALSE(TsEnFileExist(missing, true));
  const auto shown = fake::messageBoxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Unable to find the file \"" + missing + "\" !");
  EXPECT_EQ(shown[0].caption, "Tessaline");
  EXPECT_EQ(shown[0].style, 0x30u);
}

TEST_F(FileExistTest, EmptyPathIsNeverTold) {
  EXPECT_FALSE(TsEnFileExist("", true));
  EXPECT_FALSE(TsEnFileExist("", false));
  EXPECT_EQ(fake::calls().messageBox, 0);
}

} // namespace
} // namespace tsen::testing
