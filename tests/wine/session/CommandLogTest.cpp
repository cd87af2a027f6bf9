// The command log on the real file system: the text mode's line ends, local
// time stamps, and several processes logging at once.
#include "TsEnvironment.h"

#include "tests/wine/ProductKeysGuard.h"
#include "tests/wine/folders/ChildProcess.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace tsen::testing;
using tsen::platform::win32::UniqueHandle;

// The local time stamps of the seconds from..to.
std::set<std::string> stampsBetween(std::time_t from, std::time_t to) {
  std::set<std::string> stamps;
  for (std::time_t t = from; t <= to; ++t) {
    std::tm local{};
    localtime_s(&local, &t);
    char stamp[32];
    stamps.emplace(stamp, std::strftime(stamp, sizeof stamp, "%Y.%m.%d, %H:%M:%S", &local));
  }
  return stamps;
}

// A configuration of this process's own, so the log in its user data folder
// is this test's alone.
class CommandLogTest : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string config = "Log-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1840, "Current Config", config));
    folder = TsEnGetUserDataPath();
    ASSERT_FALSE(folder.empty());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::ofstream(logFile(), std::ios::binary) << "earlier\r\n";
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::string logFile() const { return folder + "\\TessalineCommand.log"; }
  std::string logText() const {
    std::ifstream in(logFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  ProductKeysGuard guard;
  std::string folder;
};

// Appended in text mode: every line feed, even one after a carriage return,
// becomes CR LF; every other byte is written as given.
TEST_F(CommandLogTest, LinesAreAppendedInTextModeWithLocalTimeStamps) {
  const std::time_t before = std::time(nullptr);
  LogCommandInfo("Gr\xF8nn;\xE6", "Dom", "one\ntwo");
  LogCommandInfo("Draw\r\n", "", "\x80\xFF");
  const auto stamps = stampsBetween(before, std::time(nullptr));
  // Each "@" stands for a time stamp.
  const std::string pattern =
      "earlier\r\nGr\xF8nn;\xE6;@;Dom;one\r\ntwo\r\nDraw\r\r\n;@;;\x80\xFF\r\n";
  const std::string text = logText();
  std::string expected;
  for (const char c : pattern) {
    const std::string stamp = text.substr(std::min(expected.size(), text.size()), 20);
    expected += c == '@' && stamps.contains(stamp) ? stamp : std::string(1, c);
  }
  EXPECT_EQ(text, expected);
}

// Every line lands once, whole, and each process's lines keep their order.
TEST_F(CommandLogTest, FourWriterProcessesLandEveryLineOnceWholeAndInOrder) {
  constexpr int kWriters = 4, kLinesEach = 1000;
  const std::string name = "tsen-log-" + std::to_string(GetCurrentProcessId());
  const UniqueHandle ready(CreateSemaphoreA(nullptr, 0, kWriters, (name + "-ready").c_str()));
  const UniqueHandle start(CreateEventA(nullptr, TRUE, FALSE, (name + "-start").c_str()));
  ASSERT_TRUE(ready && start);
  std::vector<UniqueHandle> writers;
  for (int writer = 0; writer < kWriters; ++writer) {
    writers.push_back(startProcess("\"" + besideThisProgram("tsen_wine_probe.exe") + "\" --log " +
                                   std::to_string(writer) + " " + std::to_string(kLinesEach) + " " +
                                   name));
    ASSERT_TRUE(writers.back());
  }
  for (int writer = 0; writer < kWriters; ++writer) {
    ASSERT_EQ(WaitForSingleObject(ready.get(), 60000), WAIT_OBJECT_0);
  }
  const std::time_t before = std::time(nullptr);
  SetEvent(start.get());
  for (const auto& process : writers) {
    EXPECT_EQ(exitCodeOf(process, 300000), 0u);
  }
  const auto stamps = stampsBetween(before, std::time(nullptr));
  // After the earlier line, "writer<w>;<stamp>;domain<w>;<index>-<padding>",
  // each writer's indices counting up from 0.
  const std::string text = logText();
  std::vector<int> next(kWriters, 0);
  int malformed = 0;
  for (std::size_t at = 9, end; at < text.size(); at = end + 2) {
    end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "the log does not end with a whole line";
    const std::string line = text.substr(at, end - at);
    const int writer = line.size() > 28 ? line[6] - '0' : -1;
    const std::string w = std::to_string(writer), stamp = writer < 0 ? "" : line.substr(8, 20);
    if (writer >= 0 && writer < kWriters && stamps.contains(stamp) &&
        line == "writer" + w + ";" + stamp + ";domain" + w + ";" + std::to_string(next[writer]) +
                    "-" + std::string(100, char('a' + writer))) {
      ++next[writer];
    } else {
      EXPECT_LT(malformed++, 3) << "torn, foreign or out of order: " << line;
    }
  }
  EXPECT_EQ(text.substr(0, 9), "earlier\r\n");
  EXPECT_EQ(malformed, 0);
  EXPECT_EQ(next, std::vector<int>(kWriters, kLinesEach));
}

} // namespace
