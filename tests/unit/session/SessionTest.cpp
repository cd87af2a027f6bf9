// The active domain and last command in the registry, and the command log
// in the user data folder, a scratch folder here.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <ctime>
#include <iomanip>
#include <map>
#include <regex>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tsen::testing {
namespace {

constexpr std::string_view kModules1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Tessaline modules";
constexpr std::string_view kModules1901 =
    "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Tessaline modules";
const std::regex kStamp(R"(\d{4}\.\d{2}\.\d{2}, \d{2}:\d{2}:\d{2})");

std::string readBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SessionTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    log_ = useDataFolder(false, "Road");
  }
  static std::string modulesKey(bool layout19) {
    return std::string(layout19 ? kModules1901 : kModules1840);
  }
  // Makes <scratch>\<roaming> the roaming folder and config the current
  // configuration of the layout, creates that user data folder and answers
  // the log file's host path.
  std::filesystem::path useDataFolder(bool layout19, const std::string& config,
                                      const std::string& roaming = "roaming") const {
    fake::setKnownFolder(fake::KnownFolder::roamingAppData, scratch_.library(roaming));
    fake::setString(kHKCU, kernelKey(layout19), "Current Config", config);
    const auto folder = scratch_.path() / roaming / "Quarzel" / "Tessaline" /
                        (layout19 ? "19.01/RA_Zora" : "18.40") / config;
    std::filesystem::create_directories(folder);
    return folder / "TessalineCommand.log";
  }
  // The log with every time stamp written "T".
  std::string log(const std::filesystem::path& file = {}) const {
    return std::regex_replace(readBytes(file.empty() ? log_ : file), kStamp, "T");
  }

  ScratchFolder scratch_;
  std::filesystem::path log_;
};

TEST_F(SessionTest, FirstWriteCreatesTheModulesKeyOfTheLayoutInForce) {
  const struct {
    const char* name;
    std::function<bool()> write;
    const char* valueName;
  } writes[] = {
      {"domain", [] { return setActiveTessalineDomain("Road"); }, "ActiveDomainKey"},
      {"command", [] { return setLastTessalineCommand("Road"); }, "LastCommand"},
      {"command with domain", [] { return setLastTessalineCommand("Cmd", "Road"); },
       "ActiveDomainKey"},
  };
  for (const bool layout19 : {false, true}) {
    for (const auto& w : writes) {
      SCOPED_TRACE(std::string(w.name) + (layout19 ? " 19.01" : " 18.40"));
      fake::removeKey(kHKCU, kModules1840);
      fake::removeKey(kHKCU, kModules1901);
      setLayout19(layout19);
      useDataFolder(layout19, "Road");
      EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "");
      EXPECT_FALSE(fake::keyExists(kHKCU, modulesKey(layout19))) << "a read created it";
      EXPECT_TRUE(w.write());
      EXPECT_EQ(fake::stringValue(kHKCU, modulesKey(layout19), w.valueName), "Road");
      EXPECT_FALSE(fake::keyExists(kHKCU, modulesKey(!layout19)));
      EXPECT_EQ(fake::openHandles(), 0);
    }
  }
}

TEST_F(SessionTest, RefusedOrFailedWritesLeaveTheStoredValuesAndLogNothing) {
  const struct {
    const char* name;
    const char* refused; // the value whose registry write fails
    std::function<bool()> write;
    const char* domainAfter;
  } cases[] = {
      {"empty domain", "", [] { return setActiveTessalineDomain(""); }, "Old"},
      {"empty command", "", [] { return setLastTessalineCommand(""); }, "Old"},
      {"command with empty domain", "", [] { return setLastTessalineCommand("Cmd", ""); }, "Old"},
      // The domain is stored before the command is refused, and stays.
      {"empty command with domain", "", [] { return setLastTessalineCommand("", "Road"); }, "Road"},
      {"domain write fails", "ActiveDomainKey", [] { return setActiveTessalineDomain("Road"); },
       "Old"},
      {"domain write fails first", "ActiveDomainKey",
       [] { return setLastTessalineCommand("Cmd", "Road"); }, "Old"},
      {"command write fails", "LastCommand", [] { return setLastTessalineCommand("Cmd"); }, "Old"},
      {"command write fails after the domain", "LastCommand",
       [] { return setLastTessalineCommand("Cmd", "Road"); }, "Road"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::setString(kHKCU, kModules1840, "ActiveDomainKey", "Old");
    fake::setString(kHKCU, kModules1840, "LastCommand", "OldCmd");
    fake::refuseWritesOf(c.refused);
    EXPECT_FALSE(c.write());
    fake::refuseWritesOf("");
    EXPECT_EQ(getActiveTessalineDomain(), c.domainAfter);
    EXPECT_EQ(getLastTessalineCommand(), "OldCmd");
    EXPECT_FALSE(std::filesystem::exists(log_));
    EXPECT_EQ(fake::openHandles(), 0);
  }
}

TEST_F(SessionTest, StoringACommandLogsItWithTheDomainStoredAtThatMoment) {
  const struct {
    const char* name;
    std::function<bool()> write;
    const char* domain;
  } cases[] = {
      {"no domain stored", [] { return setLastTessalineCommand("Cmd"); }, ""},
      {"domain stored before",
       [] { return setActiveTessalineDomain("Road") && setLastTessalineCommand("Cmd"); }, "Road"},
      {"domain given", [] { return setLastTessalineCommand("Cmd", "Hill"); }, "Hill"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::removeKey(kHKCU, kModules1840);
    std::filesystem::remove(log_);
    EXPECT_TRUE(c.write());
    EXPECT_EQ(getLastTessalineCommand(), "Cmd");
    EXPECT_EQ(getActiveTessalineDomain(), c.domain);
    EXPECT_EQ(log(), "Cmd;T;" + std::string(c.domain) + ";\r\n");
  }
  // With logging switched off the command is still stored.
  std::filesystem::remove(log_);
  fake::setDword(kHKCU, kModules1840, "LogCommands", 0);
  EXPECT_TRUE(setLastTessalineCommand("Off", "Road"));
  EXPECT_EQ(getLastTessalineCommand(), "Off");
  EXPECT_FALSE(std::filesystem::exists(log_));
}

TEST_F(SessionTest, SwitchingTheLayoutSwitchesKeyAndLogAtTheNextCall) {
  ASSERT_TRUE(setLastTessalineCommand("Old", "Road"));
  setLayout19(true);
  const auto log19 = useDataFolder(true, "Hill");
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "");
  ASSERT_TRUE(setLastTessalineCommand("New"));
  EXPECT_EQ(fake::stringValue(kHKCU, kModules1901, "LastCommand"), "New");
  EXPECT_EQ(fake::stringValue(kHKCU, kModules1840, "LastCommand"), "Old");
  EXPECT_EQ(log(), "Old;T;Road;\r\n");
  EXPECT_EQ(log(log19), "New;T;;\r\n") << "no domain stored below 19.01";
  setLayout19(false);
  EXPECT_EQ(getActiveTessalineDomain(), "Road");
}

TEST_F(SessionTest, ValuesHoldAnyTextWhole) {
  fake::setDword(kHKCU, kModules1840, "LogCommands", 0);
  for (const std::string& text :
       {std::string("a;b\r\nc"), std::string("\xC4\xD6\xDC\xE9\xFF"), std::string(100000, 'x')}) {
    ASSERT_TRUE(setLastTessalineCommand(text, text + "D"));
    EXPECT_EQ(getLastTessalineCommand(), text);
    EXPECT_EQ(getActiveTessalineDomain(), text + "D");
  }
}

TEST_F(SessionTest, LogSwitchDecidesWhetherALineIsWritten) {
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
  }
}

// Each text as the file must hold it: line feeds become CR LF as in a
// Windows text-mode file, everything else is written unchanged, appended
// after what the file held.
TEST_F(SessionTest, LogLinesHoldTheFieldsAsGivenWithTextModeLineEnds) {
  const std::string longText(100000, 'z');
  const struct {
    std::string command, domain, info;
    std::string line;
  } cases[] = {
      {"MyCommand", "Road", "info", "MyCommand;T;Road;info"},
      {"", "", "", ";T;;"},
      {"Cmd", "*", "", "Cmd;T;Active;"},
      {"Cmd", "**", "", "Cmd;T;**;"},
      {"Cmd", " *", "", "Cmd;T; *;"},
      {"a;b", "c;d", "e;f", "a;b;T;c;d;e;f"},
      {"cmd\nx", "Road", "i\nj\n", "cmd\r\nx;T;Road;i\r\nj\r\n"},
      {"Cmd", "Road", "i\r\nj", "Cmd;T;Road;i\r\r\nj"},
      {"\xC4\xD6\xDC", "\x80\xFF", "\xE9t\xE9", "\xC4\xD6\xDC;T;\x80\xFF;\xE9t\xE9"},
      {longText, longText, longText, longText + ";T;" + longText + ";" + longText},
  };
  fake::setString(kHKCU, kModules1840, "ActiveDomainKey", "Active");
  std::string expected = "earlier\r\n";
  scratch_.write(std::filesystem::relative(log_, scratch_.path()).string(), expected);
  for (const auto& c : cases) {
    LogCommandInfo(c.command, c.domain, c.info);
    expected += c.line + "\r\n";
  }
  EXPECT_TRUE(log() == expected); // not EXPECT_EQ: the texts are long
}

TEST_F(SessionTest, TimeStampIsTheLocalTimeOfTheCall) {
  const std::time_t before = std::time(nullptr);
  LogCommandInfo("Cmd", "Road", "");
  const std::time_t after = std::time(nullptr);
  const std::string stamp = readBytes(log_).substr(4, 20);
  ASSERT_TRUE(std::regex_match(stamp, kStamp)) << stamp;
  std::tm local{};
  std::istringstream(stamp) >> std::get_time(&local, "%Y.%m.%d, %H:%M:%S");
  local.tm_isdst = -1;
  EXPECT_GE(std::mktime(&local), before - 1);
  EXPECT_LE(std::mktime(&local), after + 1);
}

TEST_F(SessionTest, LogThatCannotBeWrittenIsPassedOverInSilence) {
  // No user data folder: nothing is created.
  fake::setKnownFolder(fake::KnownFolder::roamingAppData, scratch_.library("elsewhere"));
  LogCommandInfo("Cmd", "Road", "");
  EXPECT_FALSE(std::filesystem::exists(scratch_.path() / "elsewhere"));
  // A folder in the log's place.
  log_ = useDataFolder(false, "Folder");
  std::filesystem::create_directory(log_);
  LogCommandInfo("Cmd", "Road", "");
  EXPECT_TRUE(std::filesystem::is_empty(log_));
  // A read-only log, where this user cannot write past the mode (not root).
  log_ = useDataFolder(false, "ReadOnly");
  scratch_.write(std::filesystem::relative(log_, scratch_.path()).string(), "kept\r\n");
  ASSERT_EQ(::chmod(log_.c_str(), 0444), 0);
  if (::access(log_.c_str(), W_OK) != 0) {
    LogCommandInfo("Cmd", "Road", "");
    EXPECT_EQ(readBytes(log_), "kept\r\n");
  }
  EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(SessionTest, DataFolderPathLongerThanMaxPathHoldsTheLog) {
  const std::string deep = std::string(120, 'a') + "/" + std::string(120, 'b') + "/roaming";
  log_ = useDataFolder(false, "Road", deep);
  ASSERT_GT(scratch_.library(deep).size(), 260u);
  LogCommandInfo("Cmd", "Road", "deep");
  EXPECT_EQ(log(), "Cmd;T;Road;deep\r\n");
}

TEST_F(SessionTest, WritersInFourProcessesAppendEveryLineWholeAndInOrder) {
  constexpr int kWriters = 4, kLines = 1000;
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  std::vector<pid_t> children;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t child = ::fork();
    if (child == 0) {
      // Every writer starts once the parent closes the gate.
      ::close(gate[1]);
      char ignored;
      while (::read(gate[0], &ignored, 1) > 0) {
      }
      for (int index = 0; index < kLines; ++index) {
        LogCommandInfo("writer" + std::to_string(writer), "Road", std::to_string(index));
      }
      ::_exit(0);
    }
    children.push_back(child);
  }
  ::close(gate[0]);
  ::close(gate[1]);
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }
  // Every writer's lines arrive once each, whole, in the order it wrote them.
  std::istringstream lines(log());
  std::map<std::string, int> next;
  for (std::string line; std::getline(lines, line);) {
    const std::string writer = line.substr(0, line.find(';'));
    ASSERT_EQ(line, writer + ";T;Road;" + std::to_string(next[writer]++) + "\r");
  }
  ASSERT_EQ(next.size(), static_cast<std::size_t>(kWriters));
  for (const auto& [writer, count] : next) {
    EXPECT_EQ(count, kLines) << writer;
  }
}

} // namespace
} // namespace tsen::testing
