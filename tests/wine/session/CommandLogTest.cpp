// The command log on the real file system: the text mode's line ends,
// local time stamps, appending to what the log held, a log held open by
// another, and several processes logging at once.
#include "TsEnvironment.h"

#include "tests/wine/ProductKeysGuard.h"
#include "tests/wine/folders/ChildProcess.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace tsen::testing;
using tsen::platform::win32::ownValidHandle;
using tsen::platform::win32::UniqueHandle;

// A configuration of this process's own made current, and its user data
// folder, which holds the log: no other test shares the log.
class CommandLogTest : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string config = "Log-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1840, "Current Config", config));
    folder = TsEnGetUserDataPath();
    ASSERT_FALSE(folder.empty());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    logFile = folder + "\\TessalineCommand.log";
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::string logText() const {
    std::ifstream in(logFile, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  ProductKeysGuard guard;
  std::string folder, logFile;
};

// "YYYY.MM.DD, hh:mm:ss" naming a local time within [from, to].
bool isTimeStampWithin(const std::string& stamp, std::time_t from, std::time_t to) {
  std::tm local{};
  if (std::sscanf(stamp.c_str(), "%4d.%2d.%2d, %2d:%2d:%2d", &local.tm_year, &local.tm_mon,
                  &local.tm_mday, &local.tm_hour, &local.tm_min, &local.tm_sec) != 6) {
    return false;
  }
  local.tm_year -= 1900;
  local.tm_mon -= 1;
  local.tm_isdst = -1;
  const std::time_t when = std::mktime(&local);
  char formatted[32] = {};
  std::strftime(formatted, sizeof formatted, "%Y.%m.%d, %H:%M:%S", &local);
  return formatted == stamp && when >= from && when <= to;
}

// Each "@" of the pattern stands for a local time stamp within [from, to].
void expectLogWithStamps(const std::string& text, const std::string& pattern, std::time_t from,
                         std::time_t to) {
  std::string stamped;
  for (const char c : pattern) {
    if (c == '@' && stamped.size() + 20 <= text.size()) {
      const std::string stamp = text.substr(stamped.size(), 20);
      EXPECT_TRUE(isTimeStampWithin(stamp, from, to)) << stamp;
      stamped += stamp;
    } else {
      stamped += c;
    }
  }
  EXPECT_EQ(text, stamped);
}

// The log is appended to in text mode: every line feed, even one after a
// carriage return, becomes CR LF; every other byte is written as given.
TEST_F(CommandLogTest, LinesAreAppendedInTextModeWithLocalTimeStamps) {
  std::ofstream(logFile, std::ios::binary) << "earlier\r\n";
  const std::time_t before = std::time(nullptr);
  LogCommandInfo("Gr\xF8nn;\xE6", "Dom", "one\ntwo");
  LogCommandInfo("Draw\r\n", "", "\x80\xFF");
  expectLogWithStamps(logText(),
                      "earlier\r\nGr\xF8nn;\xE6;@;Dom;one\r\ntwo\r\nDraw\r\r\n;@;;\x80\xFF\r\n",
                      before, std::time(nullptr));
}

TEST_F(CommandLogTest, ALogHeldOpenWithoutSharingIsLeftAlone) {
  std::ofstream(logFile, std::ios::binary) << "earlier\r\n";
  {
    const auto held = ownValidHandle<UniqueHandle>(CreateFileA(
        logFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    LogCommandInfo("Draw", "Road", "");
  }
  EXPECT_EQ(logText(), "earlier\r\n");
}

// Every line lands once, whole, and each process's lines keep their order.
TEST_F(CommandLogTest, FourWriterProcessesLandEveryLineOnceWholeAndInOrder) {
  constexpr int kWriters = 4;
  constexpr int kLinesEach = 1000;
  const std::string tag = std::to_string(GetCurrentProcessId());
  const std::string readyName = "tsen-log-ready-" + tag;
  const std::string startName = "tsen-log-start-" + tag;
  const UniqueHandle ready(CreateSemaphoreA(nullptr, 0, kWriters, readyName.c_str()));
  const UniqueHandle start(CreateEventA(nullptr, TRUE, FALSE, startName.c_str()));
  ASSERT_TRUE(ready && start);

  std::vector<UniqueHandle> processes;
  for (int writer = 0; writer < kWriters; ++writer) {
    processes.push_back(startProcess("\"" + besideThisProgram("tsen_wine_probe.exe") + "\" --log " +
                                     std::to_string(writer) + " " + std::to_string(kLinesEach) +
                                     " " + readyName + " " + startName));
    ASSERT_TRUE(processes.back());
  }
  for (int writer = 0; writer < kWriters; ++writer) {
    ASSERT_EQ(WaitForSingleObject(ready.get(), 60000), WAIT_OBJECT_0);
  }
  const std::time_t before = std::time(nullptr);
  SetEvent(start.get());
  for (const auto& process : processes) {
    EXPECT_EQ(exitCodeOf(process, 300000), 0u);
  }
  const std::time_t after = std::time(nullptr);

  // Each line "writer<w>;<stamp>;domain<w>;<index>-<padding>" and CR LF,
  // each writer's indices counting up from 0.
  const std::string text = logText();
  std::vector<int> next(kWriters, 0);
  int malformed = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "the log does not end with a whole line";
    const std::string line = text.substr(at, end - at);
    at = end + 2;
    const int writer = line.size() > 28 ? line[6] - '0' : -1;
    const std::string stamp = writer >= 0 && writer < kWriters ? line.substr(8, 20) : "";
    const std::string number = std::to_string(writer);
    if (isTimeStampWithin(stamp, before, after) &&
        line == "writer" + number + ";" + stamp + ";domain" + number + ";" +
                    std::to_string(next[writer]) + "-" +
                    std::string(100, static_cast<char>('a' + writer))) {
      ++next[writer];
    } else {
      EXPECT_LT(malformed++, 3) << "torn, foreign or out of order: " << line;
    }
  }
  EXPECT_EQ(malformed, 0);
  EXPECT_EQ(next, std::vector<int>(kWriters, kLinesEach));
}

} // namespace
