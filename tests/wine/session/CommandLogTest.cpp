// The command log written to the user data folder on the real file system:
// the switch, the domain, the fields as given and a log that cannot be
// written.
#include "TsEnvironment.h"

#include "LogFolder.h"
#include "LogLines.h"
#include "platform/win32/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <functional>
#include <string>

namespace {

using namespace tsen::testing;

const std::string kModulesKey = std::string(kRoot1840) + "\\Tessaline modules";

bool setModulesValue(const char* name, DWORD type, const Bytes& bytes) {
  return writeRaw(HKEY_CURRENT_USER, kModulesKey, name, type, bytes);
}

class CommandLogTest : public ::testing::Test {
protected:
  ProductKeysGuard guard;
};

struct SwitchCase {
  const char* name;
  // Plants the switch; absent leaves the modules key missing.
  std::function<bool()> plant;
  bool logs;
};

class LogSwitchTest : public CommandLogTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(LogSwitchTest, OnlyOneOrNothingLogs) {
  const SwitchCase& c = GetParam();
  if (c.plant) {
    ASSERT_TRUE(c.plant());
  }
  const LogFolder log(kLayout1840);
  const std::time_t before = std::time(nullptr);
  LogCommandInfo("Draw", "Road", "info");
  const std::time_t after = std::time(nullptr);
  if (!c.logs) {
    EXPECT_FALSE(std::filesystem::exists(log.logFile()));
    return;
  }
  const auto lines = linesOf(log.logText());
  ASSERT_TRUE(lines);
  ASSERT_EQ(lines->size(), 1u);
  const auto line = parseLogLine(lines->front());
  ASSERT_TRUE(line) << lines->front();
  EXPECT_EQ(*line, (LogLine{"Draw", line->time, "Road", "info"}));
  EXPECT_TRUE(isTimeStampWithin(line->time, before, after)) << line->time;
}

INSTANTIATE_TEST_SUITE_P(
    Switches, LogSwitchTest,
    ::testing::Values(
        SwitchCase{"NoModulesKey", nullptr, true},
        SwitchCase{"NoValue", [] { return createRaw(HKEY_CURRENT_USER, kModulesKey) != nullptr; },
                   true},
        SwitchCase{"One", [] { return setModulesValue("LogCommands", REG_DWORD, dwordBytes(1)); },
                   true},
        SwitchCase{"Zero", [] { return setModulesValue("LogCommands", REG_DWORD, dwordBytes(0)); },
                   false},
        SwitchCase{"Two", [] { return setModulesValue("LogCommands", REG_DWORD, dwordBytes(2)); },
                   false},
        SwitchCase{
            "OneAsText",
            [] { return setModulesValue("LogCommands", REG_SZ, bytesOf(std::string("1", 2))); },
            false}),
    [](const auto& info) { return std::string(info.param.name); });

struct DomainCase {
  const char* name;
  const char* stored;
  std::string domain;
  std::string logged;
};

class LogDomainTest : public CommandLogTest, public ::testing::WithParamInterface<DomainCase> {};

TEST_P(LogDomainTest, LoneAsteriskStandsForTheStoredDomain) {
  const DomainCase& c = GetParam();
  if (c.stored) {
    ASSERT_TRUE(setActiveTessalineDomain(c.stored));
  }
  const LogFolder log(kLayout1840);
  LogCommandInfo("Draw", c.domain, "");
  const auto lines = linesOf(log.logText());
  ASSERT_TRUE(lines && lines->size() == 1u) << log.logText();
  const auto line = parseLogLine(lines->front());
  ASSERT_TRUE(line);
  EXPECT_EQ(line->domain, c.logged);
}

INSTANTIATE_TEST_SUITE_P(Domains, LogDomainTest,
                         ::testing::Values(DomainCase{"Stored", "Road", "*", "Road"},
                                           DomainCase{"NoneStored", nullptr, "*", ""},
                                           DomainCase{"TwoAsterisks", "Road", "**", "**"},
                                           DomainCase{"BlankInFront", "Road", " *", " *"},
                                           DomainCase{"Given", "Road", "Rail", "Rail"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandLogTest, StoredLastCommandIsLoggedWithTheStoredDomain) {
  const LogFolder log(kLayout1840);
  ASSERT_TRUE(setLastTessalineCommand("First"));
  ASSERT_TRUE(setLastTessalineCommand("Second", "Road"));
  ASSERT_TRUE(setLastTessalineCommand("Third"));
  const auto lines = linesOf(log.logText());
  ASSERT_TRUE(lines && lines->size() == 3u) << log.logText();
  std::vector<std::string> logged;
  for (const std::string& text : *lines) {
    const auto line = parseLogLine(text);
    ASSERT_TRUE(line) << text;
    logged.push_back(line->command + "|" + line->domain + "|" + line->info);
  }
  EXPECT_EQ(logged, (std::vector<std::string>{"First||", "Second|Road|", "Third|Road|"}));
}

struct TextCase {
  const char* name;
  std::string command;
  std::string info;
  // The line's bytes but for the time stamp, which follows the command.
  std::string commandBytes;
  std::string restBytes;
};

class LogTextTest : public CommandLogTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(LogTextTest, FieldsAreWrittenAsGivenWithCrLfLineEnds) {
  const TextCase& c = GetParam();
  const LogFolder log(kLayout1840);
  LogCommandInfo(c.command, "Dom", c.info);
  const std::string text = log.logText();
  const std::size_t stamp = c.commandBytes.size() + 1;
  ASSERT_EQ(text.size(), stamp + 20 + c.restBytes.size());
  EXPECT_EQ(text.substr(0, stamp), c.commandBytes + ";");
  EXPECT_TRUE(isTimeStampWithin(text.substr(stamp, 20), 0, std::time(nullptr)));
  EXPECT_EQ(text.substr(stamp + 20), c.restBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LogTextTest,
    ::testing::Values(
        TextCase{"Semicolons", "a;b", "c;d", "a;b", ";Dom;c;d\r\n"},
        TextCase{"LineFeedBecomesCrLf", "Draw", "one\ntwo", "Draw", ";Dom;one\r\ntwo\r\n"},
        TextCase{"CrLfGainsACr", "Draw\r\n", "", "Draw\r\r\n", ";Dom;\r\n"},
        TextCase{"HighBytes", "Gr\xF8nn\xE6ss", "\x80\xFF", "Gr\xF8nn\xE6ss", ";Dom;\x80\xFF\r\n"},
        TextCase{"Empty", "", "", "", ";Dom;\r\n"},
        TextCase{"HundredThousandCharacters", std::string(100000, 'c'), std::string(100000, 'i'),
                 std::string(100000, 'c'), ";Dom;" + std::string(100000, 'i') + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandLogTest, TwoCallsAppendAfterWhatTheLogHeld) {
  const LogFolder log(kLayout1840);
  std::ofstream(log.logFile(), std::ios::binary) << "earlier\r\n";
  LogCommandInfo("One", "", "");
  LogCommandInfo("Two", "", "");
  const auto lines = linesOf(log.logText());
  ASSERT_TRUE(lines && lines->size() == 3u) << log.logText();
  EXPECT_EQ(lines->front(), "earlier");
  EXPECT_EQ(parseLogLine((*lines)[2]).value().command, "Two");
}

TEST_F(CommandLogTest, MissingUserDataFolderIsNotCreated) {
  const LogFolder log(kLayout1840, false);
  LogCommandInfo("Draw", "Road", "");
  EXPECT_FALSE(std::filesystem::exists(log.path()));
}

TEST_F(CommandLogTest, ReadOnlyLogIsLeftAlone) {
  const LogFolder log(kLayout1840);
  std::ofstream(log.logFile(), std::ios::binary) << "earlier\r\n";
  ASSERT_TRUE(SetFileAttributesA(log.logFile().c_str(), FILE_ATTRIBUTE_READONLY));
  // Wine keeps the attribute as missing write permission, which the
  // superuser is not held to: then the system itself lets writers in.
  using tsen::platform::win32::UniqueHandle;
  const auto writable = tsen::platform::win32::ownValidHandle<UniqueHandle>(
      CreateFileA(log.logFile().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (writable) {
    GTEST_SKIP() << "this system opens read-only files for writing";
  }
  LogCommandInfo("Draw", "Road", "");
  EXPECT_EQ(log.logText(), "earlier\r\n");
}

TEST_F(CommandLogTest, LogHeldWithoutSharingIsLeftAlone) {
  const LogFolder log(kLayout1840);
  std::ofstream(log.logFile(), std::ios::binary) << "earlier\r\n";
  {
    const auto held = tsen::platform::win32::ownValidHandle<tsen::platform::win32::UniqueHandle>(
        CreateFileA(log.logFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    LogCommandInfo("Draw", "Road", "");
  }
  EXPECT_EQ(log.logText(), "earlier\r\n");
}

TEST_F(CommandLogTest, LogThatIsAFolderIsLeftAlone) {
  const LogFolder log(kLayout1840);
  ASSERT_TRUE(std::filesystem::create_directory(log.logFile()));
  LogCommandInfo("Draw", "Road", "");
  EXPECT_TRUE(std::filesystem::is_directory(log.logFile()));
  EXPECT_TRUE(std::filesystem::is_empty(log.logFile()));
}

TEST_F(CommandLogTest, LogFollowsTheLayoutFromOneCallToTheNext) {
  const LogFolder oldLog(kLayout1840);
  const LogFolder newLog(kLayout1901);
  LogCommandInfo("Old", "", "");
  ASSERT_TRUE(select(kLayout1901));
  LogCommandInfo("New", "", "");
  for (const auto& [log, command] : {std::pair{&oldLog, "Old"}, std::pair{&newLog, "New"}}) {
    const auto lines = linesOf(log->logText());
    ASSERT_TRUE(lines && lines->size() == 1u) << log->logText();
    EXPECT_EQ(parseLogLine(lines->front()).value().command, command);
  }
}

} // namespace
