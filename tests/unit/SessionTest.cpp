// The active domain and last command in the registry, and the command log.
#include "FakeSystemTest.h"

namespace tsen::testing {
namespace {

constexpr std::string_view kModules1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Tessaline modules";

class SessionTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    log_ = useDataFolder(false, "Road");
    ASSERT_GT(log_.string().size(), 260u);
  }
  // A user data folder deeper than MAX_PATH for config; answers the log file.
  std::filesystem::path useDataFolder(bool layout19, const std::string& config) const {
    const std::string roaming = std::string(120, 'a') + "/" + std::string(120, 'b');
    fake::setKnownFolder(fake::KnownFolder::roamingAppData, app.library(roaming));
    setConfig(layout19, config);
    const auto folder = app.path() / roaming / "Quarzel" / "Tessaline" /
                        (layout19 ? "19.01/RA_Zora" : "18.40") / config;
    std::filesystem::create_directories(folder);
    return folder / "TessalineCommand.log";
  }

  std::filesystem::path log_;
};

// The domain is stored before the command, and stays when the command is refused.
TEST_F(SessionTest, RefusedOrFailedWritesLeaveTheStoredValuesAndLogNothing) {
  fake::setString(kHKCU, kModules1840, "ActiveDomainKey", "Old");
  fake::setString(kHKCU, kModules1840, "LastCommand", "OldCmd");
  fake::refuseWritesOf("ActiveDomainKey");
  EXPECT_FALSE(setLastTessalineCommand("Cmd", "Road"));
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "OldOldCmd");
  fake::refuseWritesOf("");
  EXPECT_FALSE(setLastTessalineCommand("", "Road"));
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "RoadOldCmd");
  EXPECT_FALSE(std::filesystem::exists(log_));
}

// A command is logged with the domain stored at that moment; "*" names it.
TEST_F(SessionTest, ReadsCreateNothingAndWritesGoToTheLayoutInForce) {
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "");
  EXPECT_FALSE(fake::keyExists(kHKCU, kModules1840));
  ASSERT_TRUE(setLastTessalineCommand("Old", "Road"));
  LogCommandInfo("a;b\n", "*", "\xE9;\r\n");
  const auto log19 = useDataFolder(true, "Hill");
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "");
  ASSERT_TRUE(setLastTessalineCommand("New"));
  ASSERT_TRUE(setActiveTessalineDomain("Hill"));
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "HillNew");
  // Line feeds are written as CR LF, as a text-mode file on Windows does.
  EXPECT_EQ(logStampsAsT(log_), "Old;T;Road;\r\na;b\r\n;T;Road;\xE9;\r\r\n\r\n");
  EXPECT_EQ(logStampsAsT(log19), "New;T;;\r\n") << "no domain stored below 19.01 then";
  setLayout19(false);
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "RoadOld");
  EXPECT_EQ(fake::openHandles(), 0);
}

} // namespace
} // namespace tsen::testing
