// The resource library: the language's file in <app>\Resources, else the
// English one there; no other folder is searched.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tsen::testing {
namespace {

struct ResourceRow {
  std::optional<std::string> language; // nothing: no "Language" value
  std::vector<std::string> files;      // below the application folder
  std::string expected;                // below the application folder; empty: none found
};

void PrintTo(const ResourceRow& row, std::ostream* out) {
  *out << row.language.value_or("(no language)") << " -> " << row.expected;
}

class ResourceNameTest : public FakeSystemTest, public ::testing::WithParamInterface<ResourceRow> {
protected:
  ScratchFolder scratch_;
};

TEST_P(ResourceNameTest, SearchesTheLanguageThenEnglishInResources) {
  const ResourceRow& row = GetParam();
  installLibraryIn(scratch_.library("Suite"));
  if (row.language) {
    fake::setString(kHKCU, kKernel1840, "Language", *row.language);
  }
  for (const std::string& file : row.files) {
    scratch_.write("Suite/" + file, "resources");
  }
  const std::string expected =
      row.expected.empty() ? "" : scratch_.library("Suite") + "\\Resources\\" + row.expected;
  EXPECT_EQ(TsEnGetResourceName("Road"), expected);
}

const ResourceRow kRows[] = {
    {"NOR", {"Resources/Road.RC.NOR.DLL", "Resources/Road.RC.Eng.DLL"}, "Road.RC.NOR.DLL"},
    {"NOR", {"Resources/Road.RC.Eng.DLL"}, "Road.RC.Eng.DLL"},
    {"Nor", {"Resources/Road.RC.Nor.DLL", "Resources/Road.RC.Eng.DLL"}, "Road.RC.Nor.DLL"},
    {"NOR\\", {"Resources/Road.RC.NOR.DLL"}, "Road.RC.NOR.DLL"},
    {"Eng", {"Resources/Road.RC.Eng.DLL"}, "Road.RC.Eng.DLL"},
    {"Eng", {}, ""},
    {"", {"Resources/Road.RC..DLL", "Resources/Road.RC.Eng.DLL"}, "Road.RC..DLL"},
    {std::nullopt, {"Resources/Road.RC..DLL"}, "Road.RC..DLL"},
    {std::nullopt, {"Resources/Road.RC.Eng.DLL"}, "Road.RC.Eng.DLL"},
    {"NOR", {"Resources/Road.RC.NOR.DLL.xxx", "Resources/Roads.RC.NOR.DLL"}, ""},
    {"NOR",
     {"Road.RC.NOR.DLL", "Road.RC.Eng.DLL", "Binaries/Road.RC.NOR.DLL", "Binaries/Road.RC.Eng.DLL",
      "Resources/NOR/Road.RC.NOR.DLL"},
     ""},
};

INSTANTIATE_TEST_SUITE_P(Files, ResourceNameTest, ::testing::ValuesIn(kRows));

class ResourceNameEdgeTest : public FakeSystemTest {
protected:
  ScratchFolder scratch_;
};

TEST_F(ResourceNameEdgeTest, NoApplicationFolderSearchesNothing) {
  fake::setModuleFileName(scratch_.library("Suite\\Bin\\Tessaline.Environment.dll"));
  fake::setString(kHKCU, kKernel1840, "Language", "NOR");
  scratch_.write("Suite/Resources/Road.RC.NOR.DLL", "resources");
  scratch_.write("Resources/Road.RC.NOR.DLL", "resources");
  EXPECT_EQ(TsEnGetResourceName("Road"), "");
  // The language code is not even asked for.
  EXPECT_EQ(fake::calls().regQueryValue, 0);
}

TEST_F(ResourceNameEdgeTest, APathTooLongForTheBufferIsNotFound) {
  const std::string deep = "Suite/" + std::string(200, 'd') + "/" + std::string(60, 'e');
  installLibraryIn(scratch_.library(deep));
  fake::setString(kHKCU, kKernel1840, "Language", "NOR");
  scratch_.write(deep + "/Resources/Road.RC.NOR.DLL", "resources");
  scratch_.write(deep + "/Resources/Road.RC.Eng.DLL", "resources");
  EXPECT_EQ(TsEnGetResourceName("Road"), "");
}

} // namespace
} // namespace tsen::testing
