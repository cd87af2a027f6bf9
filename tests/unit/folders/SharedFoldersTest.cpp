// The shared folders below the common files folder, taken as the shell
// reports it.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <optional>
#include <string>

namespace tsen::testing {
namespace {

class SharedFoldersTest : public FakeSystemTest {};

TEST_F(SharedFoldersTest, AppendTheirFoldersToTheCommonFilesFolder) {
  const std::string common = "C:\\Program Files\\Common Files";
  const struct {
    std::optional<std::string> common; // nothing: the shell call fails
    std::string quarzel;
  } rows[] = {
      {common, common + "\\Quarzel Shared"},
      {common + "\\", common + "\\\\Quarzel Shared"},
      {common + "\\\\", common + "\\\\\\Quarzel Shared"},
      {"", "\\Quarzel Shared"},
      {std::nullopt, ""},
  };
  for (const bool layout19 : {false, true}) {
    setLayout19(layout19);
    for (const auto& row : rows) {
      SCOPED_TRACE(row.common.value_or("(failed)"));
      fake::setKnownFolder(fake::KnownFolder::commonFiles, row.common);
      EXPECT_EQ(TsEnGetQuarzelSharedPath(), row.quarzel);
      EXPECT_EQ(TsEnGetTessalineSharedPath(), row.quarzel + "\\Tessaline");
    }
  }
  EXPECT_EQ(fake::calls().regSetValue, 0);
}

} // namespace
} // namespace tsen::testing
