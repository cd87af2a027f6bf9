#include "expansion/ExpansionFixture.h"

#include <vector>

namespace tsen::testing {
namespace {

std::string notFoundMessage(const std::string& current, const std::string& fallback) {
  return "Unable to find the file/directory \"" + current +
         "\" !\nThere is no default file/directory available either (" + fallback + ").";
}

class DefaultConfigTest : public ExpansionTest {
protected:
  void SetUp() override {
    ExpansionTest::SetUp();
    installLibraryIn(scratch_.library());
  }
  ScratchFolder scratch_;
};

TEST_F(DefaultConfigTest, CurrentThenDefaultVariantElseTheUserIsTold) {
  const std::string shared = TsEnGetQuarzelSharedPath();
  const struct {
    std::vector<const char*> files; // below the row's folder
    const char* name;               // below the row's folder
    const char* expected;           // below the row's folder
    bool told;
  } cases[] = {
      {{"Road/a.cfg", "Default/a.cfg"}, "<DEFAULTCONFIG>\\a.cfg", "Road\\a.cfg", false},
      {{"Default/a.cfg"}, "<defaultConfig>\\a.cfg", "Default\\a.cfg", false},
      {{"Default/a.cfg/"}, "<DEFAULTCONFIG>\\a.cfg", "Default\\a.cfg", false},
      // The existence tests see the shared-folder token as it is written.
      {{"Default/<QUARZELSHARED>/a.cfg"},
       "<DEFAULTCONFIG>\\<QUARZELSHARED>\\a.cfg",
       "Default\\<QUARZELSHARED>\\a.cfg",
       false},
      {{"Default/other.cfg"}, "<DEFAULTCONFIG>\\a.cfg", "Road\\a.cfg", true},
      {{"Default/C:/Common/Quarzel Shared/a.cfg"},
       "<DEFAULTCONFIG>\\<QUARZELSHARED>\\a.cfg",
       "Road\\C:\\Common\\Quarzel Shared\\a.cfg",
       true},
      {{"Default/a.cfg"}, "<CURRENTCONFIG>\\a.cfg", "Road\\a.cfg", false},
  };
  int row = 0;
  for (const auto& c : cases) {
    const std::string folder = "row" + std::to_string(++row);
    for (const char* file : c.files) {
      const std::string relative = folder + "/" + file;
      if (relative.back() == '/') {
        std::filesystem::create_directories(scratch_.path() / relative);
      } else {
        scratch_.write(relative, "x");
      }
    }
    const std::string here = scratch_.library(folder) + "\\";
    const auto before = fake::messageBoxes().size();
    EXPECT_EQ(TsEnBuildFilename("<APPATH>\\" + folder + "\\" + c.name, 0, 0), here + c.expected)
        << c.name;
    const auto boxes = fake::messageBoxes();
    ASSERT_EQ(boxes.size() - before, c.told ? 1u : 0u) << c.name;
    if (c.told) {
      std::string current = here + c.name;
      std::string fallback = current;
      current.replace(current.find("<DEFAULTCONFIG>"), 15, "Road");
      fallback.replace(fallback.find("<DEFAULTCONFIG>"), 15, "Default");
      EXPECT_EQ(boxes.back().text, notFoundMessage(current, fallback));
      EXPECT_EQ(boxes.back().caption, "Tessaline");
      EXPECT_EQ(boxes.back().style, 0x30u);
    }
  }
}

TEST_F(DefaultConfigTest, MessageIsCutAt1023Characters) {
  const std::string name = scratch_.library() + "\\" + std::string(1000, 'n') + "\\<DEFAULTCONFIG>";
  const std::string result = TsEnBuildFilename(name, 0, 0);
  const auto boxes = fake::messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  const std::string whole = notFoundMessage(result, name.substr(0, name.size() - 15) + "Default");
  EXPECT_EQ(boxes[0].text, whole.substr(0, 1023));
}

} // namespace
} // namespace tsen::testing
