#include "session/SessionTest.h"

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace tsen::testing {
namespace {

using CommandLogTest = SessionTest;

TEST_F(CommandLogTest, SwitchDecidesWhetherALineIsWritten) {
  const auto storeSwitch = [](std::uint32_t number) {
    return [number] { fake::setDword(kHKCU, kModules1840, "LogCommands", number); };
  };
  const struct {
    const char* name;
    std::function<void()> store;
    bool logged;
  } cases[] = {
      {"no modules key", [] {}, true},
      {"no value", [] { fake::createKey(kHKCU, kModules1840); }, true},
      {"one", storeSwitch(1), true},
      {"zero", storeSwitch(0), false},
      {"two", storeSwitch(2), false},
      {"minus one", storeSwitch(0xFFFFFFFFu), false},
      {"text one", [] { fake::setString(kHKCU, kModules1840, "LogCommands", "1"); }, false},
      {"other layout's switch off", [] { fake::setDword(kHKCU, kModules1901, "LogCommands", 0); },
       true},
  };
  for (const auto& c : cases) {
    fake::removeKey(kHKCU, kModules1840);
    fake::removeKey(kHKCU, kModules1901);
    std::filesystem::remove(log_);
    c.store();
    LogCommandInfo("Cmd", "Road", "info");
    EXPECT_EQ(std::filesystem::exists(log_), c.logged) << c.name;
    EXPECT_EQ(fake::openHandles(), 0) << c.name;
  }
}

// Each text as the file must hold it: line feeds become CR LF as in a
// Windows text-mode file, everything else is written unchanged.
TEST_F(CommandLogTest, FieldsAreWrittenAsGivenWithTextModeLineEnds) {
  const std::string longText(100000, 'z');
  const struct {
    const char* name;
    std::string command, domain, info;
    std::string fileCommand, fileRest;
  } cases[] = {
      {"plain", "MyCommand", "Road", "info", "MyCommand", "Road;info"},
      {"empty fields", "", "", "", "", ";"},
      {"star is the stored domain", "Cmd", "*", "", "Cmd", "Active;"},
      {"double star", "Cmd", "**", "", "Cmd", "**;"},
      {"blank star", "Cmd", " *", "", "Cmd", " *;"},
      {"semicolons", "a;b", "c;d", "e;f", "a;b", "c;d;e;f"},
      {"line feeds", "cmd\nx", "Road", "i\nj\n", "cmd\r\nx", "Road;i\r\nj\r\n"},
      {"CR LF given", "Cmd", "Road", "i\r\nj", "Cmd", "Road;i\r\r\nj"},
      {"bytes above 0x7F", "\xC4\xD6\xDC", "\x80\xFF", "\xE9t\xE9", "\xC4\xD6\xDC",
       "\x80\xFF;\xE9t\xE9"},
      {"100,000 characters", longText, longText, longText, longText, longText + ";" + longText},
  };
  fake::setString(kHKCU, kModules1840, "ActiveDomainKey", "Active");
  for (const auto& c : cases) {
    std::filesystem::remove(log_);
    LogCommandInfo(c.command, c.domain, c.info);
    const std::string bytes = log();
    ASSERT_GT(bytes.size(), c.fileCommand.size() + 1 + kStampLength) << c.name;
    const std::string stamp = bytes.substr(c.fileCommand.size() + 1, kStampLength);
    EXPECT_TRUE(isStampPattern(stamp)) << c.name << ": " << stamp;
    EXPECT_TRUE(bytes == c.fileCommand + ";" + stamp + ";" + c.fileRest + "\r\n") << c.name;
  }
}

TEST_F(CommandLogTest, TimeStampIsTheLocalTimeOfTheCall) {
  const std::time_t before = std::time(nullptr);
  LogCommandInfo("Cmd", "Road", "");
  const std::time_t after = std::time(nullptr);
  const std::string stamp = log().substr(4, kStampLength);
  ASSERT_TRUE(isStampPattern(stamp)) << stamp;
  EXPECT_GE(stampTime(stamp), before - 1);
  EXPECT_LE(stampTime(stamp), after + 1);
}

TEST_F(CommandLogTest, LinesAreAppendedAfterWhatTheFileHeld) {
  scratch_.write(std::filesystem::relative(log_, scratch_.path()).string(), "earlier\r\n");
  LogCommandInfo("First", "Road", "1");
  LogCommandInfo("Second", "Road", "2");
  const auto lines = logLines(log());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "earlier");
  EXPECT_EQ(fieldsOf(lines[1]),
            (std::vector<std::string>{"First", lines[1].substr(6, 20), "Road", "1"}));
  EXPECT_EQ(fieldsOf(lines[2]),
            (std::vector<std::string>{"Second", lines[2].substr(7, 20), "Road", "2"}));
}

TEST_F(CommandLogTest, MissingDataFolderCreatesNothingAndSaysNothing) {
  fake::setKnownFolder(fake::KnownFolder::roamingAppData, scratch_.library("elsewhere"));
  LogCommandInfo("Cmd", "Road", "");
  EXPECT_FALSE(std::filesystem::exists(scratch_.path() / "elsewhere"));
  EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(CommandLogTest, LogThatIsAFolderIsPassedOverInSilence) {
  std::filesystem::create_directory(log_);
  LogCommandInfo("Cmd", "Road", "");
  EXPECT_TRUE(std::filesystem::is_directory(log_));
  EXPECT_TRUE(std::filesystem::is_empty(log_));
  EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(CommandLogTest, ReadOnlyLogIsPassedOverInSilence) {
  scratch_.write(std::filesystem::relative(log_, scratch_.path()).string(), "kept\r\n");
  ASSERT_EQ(::chmod(log_.c_str(), 0444), 0);
  if (::access(log_.c_str(), W_OK) == 0) {
    GTEST_SKIP() << "this user may write read-only files (root), so the case cannot be made";
  }
  LogCommandInfo("Cmd", "Road", "");
  EXPECT_EQ(log(), "kept\r\n");
  EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(CommandLogTest, DataFolderPathLongerThanMaxPathHoldsTheLog) {
  const std::string deep = std::string(120, 'a') + "/" + std::string(120, 'b') + "/roaming";
  log_ = useDataFolder(false, "Road", deep);
  ASSERT_GT(scratch_.library(deep).size(), 260u);
  LogCommandInfo("Cmd", "Road", "deep");
  const auto lines = logLines(log());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(fieldsOf(lines[0]).back(), "deep");
}

} // namespace
} // namespace tsen::testing
