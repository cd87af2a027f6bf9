// The command log on the real file system: text mode's line ends, local time
// stamps, and several processes logging at once.
#include "TsEnvironment.h"

#include "ProductKeysGuard.h"

#include <ctime>
#include <filesystem>
#include <iterator>

namespace {

using namespace tsen::testing;
using tsen::platform::win32::UniqueHandle;

// The file with every local time stamp of the seconds since `from` as "@".
std::string withoutStamps(const std::string& file, std::time_t from) {
  std::ifstream in(file, std::ios::binary);
  std::string text(std::istreambuf_iterator<char>(in), {});
  for (std::time_t t = from; t <= std::time(nullptr); ++t) {
    std::tm local{};
    localtime_s(&local, &t);
    char stamp[32];
    const std::size_t length = std::strftime(stamp, sizeof stamp, "%Y.%m.%d, %H:%M:%S", &local);
    for (auto at = text.find(stamp); at != std::string::npos; at = text.find(stamp, at)) {
      text.replace(at, length, "@");
    }
  }
  return text;
}

// Every line feed, even one after a carriage return, becomes CR LF. Four
// writers' lines land once, whole and in order.
TEST(CommandLogTest, LinesAreAppendedInTextModeByFourWriterProcessesAtOnce) {
  constexpr int kWriters = 4, kLinesEach = 1000;
  const ProductKeysGuard guard;
  // A configuration of this process's own, so the log is this test's alone.
  const std::string name = "tsen-log-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1840, "Current Config", name));
  const std::string folder = TsEnGetUserDataPath(), log = folder + "\\TessalineCommand.log";
  ASSERT_FALSE(folder.empty());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::ofstream(log, std::ios::binary) << "earlier\r\n";

  const UniqueHandle ready(CreateSemaphoreA(nullptr, 0, kWriters, (name + "-ready").c_str()));
  const UniqueHandle start(CreateEventA(nullptr, TRUE, FALSE, (name + "-start").c_str()));
  ASSERT_TRUE(ready && start);
  std::vector<UniqueHandle> writers;
  for (int writer = 0; writer < kWriters; ++writer) {
    writers.push_back(startProcess("\"" + besideThisProgram("tsen_wine_probe.exe") + "\" --log " +
                                   std::to_string(writer) + " " + std::to_string(kLinesEach) + " " +
                                   name));
    ASSERT_EQ(WaitForSingleObject(ready.get(), 60000), WAIT_OBJECT_0);
  }
  const std::time_t before = std::time(nullptr);
  LogCommandInfo("Gr\xF8nn;\xE6", "Dom", "one\ntwo");
  LogCommandInfo("Draw\r\n", "", "\x80\xFF");
  SetEvent(start.get());
  for (const auto& process : writers) {
    EXPECT_EQ(exitCodeOf(process, 300000), 0u);
  }
  const std::string text = withoutStamps(log, before),
                    own = "earlier\r\nGr\xF8nn;\xE6;@;Dom;one\r\ntwo\r\nDraw\r\r\n;@;;\x80\xFF\r\n";
  std::filesystem::remove_all(folder);
  ASSERT_EQ(text.substr(0, own.size()), own);
  std::vector<int> next(kWriters, 0);
  int malformed = 0;
  for (std::size_t at = own.size(), end; at < text.size(); at = end + 2) {
    end = text.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "the log does not end with a whole line";
    const std::string line = text.substr(at, end - at);
    const int w = line.size() > 7 && line[6] >= '0' && line[6] < '0' + kWriters ? line[6] - '0' : 0;
    const std::string id = std::to_string(w);
    if (line == "writer" + id + ";@;domain" + id + ";" + std::to_string(next[w]) + "-" +
                    std::string(100, char('a' + w))) {
      ++next[w];
    } else {
      EXPECT_LT(malformed++, 3) << "torn, foreign or out of order: " << line;
    }
  }
  EXPECT_EQ(malformed, 0);
  EXPECT_EQ(next, std::vector<int>(kWriters, kLinesEach));
}

} // namespace
