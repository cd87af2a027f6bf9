// With TSEN_DRY_RUN set, what the library would show or open is described on
// standard output and nothing reaches the system.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <cstdlib>

namespace tsen::testing {
namespace {

class DryRunTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    ::setenv("TSEN_DRY_RUN", "1", 1);
  }
  void TearDown() override {
    ::unsetenv("TSEN_DRY_RUN");
    FakeSystemTest::TearDown();
  }
};

TEST_F(DryRunTest, DescribesInsteadOfShowingOrOpening) {
  ScratchFolder app;
  installLibraryIn(app.library());
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(TsEnFileExist(app.library("missing.txt"), true));
  TsEnWikiHelp(5);
  TsEnHelp(0, "roadhelp");
  const std::string printed = ::testing::internal::GetCapturedStdout();

  EXPECT_NE(printed.find("message box: Tessaline: Unable to find the file \"" +
                         app.library("missing.txt") + "\" !\n"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("open address: "), std::string::npos) << printed;
  EXPECT_NE(printed.find(":ts:start\n"), std::string::npos) << printed;
  // Compiled help opens at once, so only the missing files are told.
  EXPECT_NE(printed.find("message box: Tessaline help: Unable to find help file"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("open help: " + app.library("Help\\Eng\\roadhelp.chm") + " 1 0\n"),
            std::string::npos)
      << printed;
  const fake::CallCounts calls = fake::calls();
  EXPECT_EQ(calls.messageBox + calls.shellOpen + calls.htmlHelp, 0);
}

TEST_F(DryRunTest, EmptyValueMeansNoDryRun) {
  ::setenv("TSEN_DRY_RUN", "", 1);
  TsEnWikiHelp(5);
  EXPECT_EQ(fake::shellOpens().size(), 1u);
}

} // namespace
} // namespace tsen::testing
