// The active domain and last command in the registry, and the command log.
#include "support/FakeSystemTest.h"

#include <map>
#include <regex>

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
    ASSERT_GT(log_.string().size(), 260u);
  }
  // A user data folder deeper than MAX_PATH for config; answers the log file.
  std::filesystem::path useDataFolder(bool layout19, const std::string& config) const {
    const std::string roaming = std::string(120, 'a') + "/" + std::string(120, 'b');
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

TEST_F(SessionTest, RefusedOrFailedWritesLeaveTheStoredValuesAndLogNothing) {
  const struct {
    const char* name;
    const char* refused; // the value whose registry write fails
    std::function<bool()> write;
    const char* domainAfter;
  } cases[] = {
      {"empty domain", "", [] { return setActiveTessalineDomain(""); }, "Old"},
      {"empty command", "", [] { return setLastTessalineCommand(""); }, "Old"},
      // The domain is stored before the command is refused, and stays.
      {"empty command with domain", "", [] { return setLastTessalineCommand("", "Road"); }, "Road"},
      {"domain write fails first", "ActiveDomainKey",
       [] { return setLastTessalineCommand("Cmd", "Road"); }, "Old"},
      {"command write fails", "LastCommand", [] { return setLastTessalineCommand("Cmd"); }, "Old"},
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
  }
}

// A command is logged with the domain stored at that moment.
TEST_F(SessionTest, ReadsCreateNothingAndWritesGoToTheLayoutInForce) {
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "");
  EXPECT_FALSE(fake::keyExists(kHKCU, kModules1840)) << "a read created it";
  ASSERT_TRUE(setLastTessalineCommand("Old", "Road"));
  setLayout19(true);
  const auto log19 = useDataFolder(true, "Hill");
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "");
  ASSERT_TRUE(setLastTessalineCommand("New"));
  ASSERT_TRUE(setActiveTessalineDomain("Hill"));
  EXPECT_EQ(fake::stringValue(kHKCU, kModules1901, "LastCommand"), "New");
  EXPECT_EQ(fake::stringValue(kHKCU, kModules1901, "ActiveDomainKey"), "Hill");
  EXPECT_EQ(fake::stringValue(kHKCU, kModules1840, "LastCommand"), "Old");
  EXPECT_EQ(log(), "Old;T;Road;\r\n");
  EXPECT_EQ(log(log19), "New;T;;\r\n") << "no domain stored below 19.01 then";
  setLayout19(false);
  EXPECT_EQ(getActiveTessalineDomain() + getLastTessalineCommand(), "RoadOld");
  EXPECT_EQ(fake::openHandles(), 0);
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
      {"text one", [] { fake::setString(kHKCU, kModules1840, "LogCommands", "1"); }, false},
      {"other layout's", [] { fake::setDword(kHKCU, kModules1901, "LogCommands", 0); }, true},
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

// Line feeds become CR LF as in a Windows text-mode file; lines are appended.
TEST_F(SessionTest, LogLinesHoldTheFieldsAsGivenWithTextModeLineEnds) {
  const struct {
    std::string command, domain, info;
    std::string line;
  } cases[] = {
      {"a;b", "Road", "\xE9;", "a;b;T;Road;\xE9;"},
      {"Cmd", "*", "", "Cmd;T;Active;"},
      {"Cmd", "**", "", "Cmd;T;**;"},
      {"cmd\nx", "Road", "i\nj\n", "cmd\r\nx;T;Road;i\r\nj\r\n"},
      {"Cmd", "Road", "i\r\nj", "Cmd;T;Road;i\r\r\nj"},
  };
  fake::setString(kHKCU, kModules1840, "ActiveDomainKey", "Active");
  std::string expected = "earlier\r\n";
  scratch_.write(std::filesystem::relative(log_, scratch_.path()).string(), expected);
  for (const auto& c : cases) {
    LogCommandInfo(c.command, c.domain, c.info);
    expected += c.line + "\r\n";
  }
  EXPECT_EQ(log(), expected);
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
  EXPECT_TRUE(fake::messageBoxes().empty());
}

TEST_F(SessionTest, WritersInFourProcessesAppendEveryLineWholeAndInOrder) {
  constexpr int kWriters = 4, kLines = 1000;
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  std::vector<pid_t> children;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t child = ::fork();
    if (child == 0) {
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
