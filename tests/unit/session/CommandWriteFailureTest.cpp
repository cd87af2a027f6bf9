// The registry refusing one write: what stays stored and what is logged.
#include "session/SessionTest.h"

namespace tsen::testing {
namespace {

using CommandWriteFailureTest = SessionTest;

TEST_F(CommandWriteFailureTest, FailedCommandWriteKeepsTheNewDomainAndLogsNothing) {
  ASSERT_TRUE(setLastTessalineCommand("OldCmd", "Old"));
  std::filesystem::remove(log_);
  fake::refuseWritesOf("LastCommand");
  EXPECT_FALSE(setLastTessalineCommand("Cmd", "Road"));
  EXPECT_FALSE(setLastTessalineCommand("Cmd"));
  fake::refuseWritesOf("");
  EXPECT_EQ(getActiveTessalineDomain(), "Road");
  EXPECT_EQ(getLastTessalineCommand(), "OldCmd");
  EXPECT_FALSE(std::filesystem::exists(log_));
  EXPECT_EQ(fake::openHandles(), 0);
}

TEST_F(CommandWriteFailureTest, FailedDomainWriteStoresAndLogsNothing) {
  fake::refuseWritesOf("ActiveDomainKey");
  EXPECT_FALSE(setActiveTessalineDomain("Road"));
  EXPECT_FALSE(setLastTessalineCommand("Cmd", "Road"));
  fake::refuseWritesOf("");
  EXPECT_EQ(getActiveTessalineDomain(), "");
  EXPECT_EQ(getLastTessalineCommand(), "");
  EXPECT_FALSE(std::filesystem::exists(log_));
}

} // namespace
} // namespace tsen::testing
