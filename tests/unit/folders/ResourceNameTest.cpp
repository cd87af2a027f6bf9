// The resource library: the language's file in <app>\Resources, else the
// English one there; no other folder is searched.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

namespace tsen::testing {
namespace {

struct ResourceRow {
  std::optional<std::string> language; // nothing: no "Language" value
  std::vector<std::string> files;      // below the application folder
  std::string expected;                // below <app>\Resources; empty: none found
  friend void PrintTo(const ResourceRow& row, std::ostream* out) {
    *out << shown(row.language) << " -> " << shown(row.expected);
  }
};

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
  EXPECT_EQ(TsEnGetResourceName("Road"),
            row.expected.empty() ? "" : scratch_.library("Suite\\Resources\\" + row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ResourceNameTest,
    ::testing::Values(
        ResourceRow{
            "NOR", {"Resources/Road.RC.NOR.DLL", "Resources/Road.RC.Eng.DLL"}, "Road.RC.NOR.DLL"},
        ResourceRow{"NOR", {"Resources/Road.RC.Eng.DLL"}, "Road.RC.Eng.DLL"},
        ResourceRow{"Nor", {"Resources/Road.RC.Nor.DLL"}, "Road.RC.Nor.DLL"},
        ResourceRow{"NOR\\", {"Resources/Road.RC.NOR.DLL"}, "Road.RC.NOR.DLL"},
        ResourceRow{"Eng", {}, ""},
        ResourceRow{std::nullopt, {"Resources/Road.RC..DLL"}, "Road.RC..DLL"},
        ResourceRow{std::nullopt, {"Resources/Road.RC.Eng.DLL"}, "Road.RC.Eng.DLL"},
        ResourceRow{"NOR", {"Resources/Road.RC.NOR.DLL.xxx", "Resources/Roads.RC.NOR.DLL"}, ""},
        ResourceRow{"NOR",
                    {"Road.RC.NOR.DLL", "Road.RC.Eng.DLL", "Binaries/Road.RC.NOR.DLL",
                     "Resources/NOR/Road.RC.NOR.DLL"},
                    ""}));

TEST_F(FakeSystemTest, ResourceNameWithoutApplicationFolderSearchesNothing) {
  ScratchFolder scratch;
  fake::setModuleFileName(scratch.library("Suite\\Bin\\Tessaline.Environment.dll"));
  fake::setString(kHKCU, kKernel1840, "Language", "NOR");
  scratch.write("Suite/Resources/Road.RC.NOR.DLL", "resources");
  scratch.write("Resources/Road.RC.NOR.DLL", "resources");
  EXPECT_EQ(TsEnGetResourceName("Road"), "");
  EXPECT_EQ(fake::calls().regQueryValue, 0) << "the language code is not even asked for";
}

TEST_F(FakeSystemTest, ResourceNameTooLongForTheBufferIsNotFound) {
  ScratchFolder scratch;
  const std::string deep = "Suite/" + std::string(200, 'd') + "/" + std::string(60, 'e');
  installLibraryIn(scratch.library(deep));
  fake::setString(kHKCU, kKernel1840, "Language", "NOR");
  scratch.write(deep + "/Resources/Road.RC.NOR.DLL", "resources");
  scratch.write(deep + "/Resources/Road.RC.Eng.DLL", "resources");
  EXPECT_EQ(TsEnGetResourceName("Road"), "");
}

} // namespace
} // namespace tsen::testing
