// The command log on the real file system: local time stamps, and several
// processes logging at once.
#include "TsEnvironment.h"

#include "WinSystem.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <sstream>

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

// Four writers' lines land once, whole and in order, after what was there.
TEST(CommandLogTest, LinesAreAppendedByFourWriterProcessesAtOnce) {
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
  std::vector<std::string> expected;
  for (int writer = 0; writer < kWriters; ++writer) {
    const std::string id = std::to_string(writer);
    writers.push_back(startProcess("\"" + besideThisProgram("tsen_wine_probe.exe") + "\" --log " +
                                   id + " " + std::to_string(kLinesEach) + " " + name));
    ASSERT_EQ(WaitForSingleObject(ready.get(), 60000), WAIT_OBJECT_0);
    for (int line = 0; line < kLinesEach; ++line) {
      expected.push_back("writer" + id + ";@;domain" + id + ";" + std::to_string(line) + "-" +
                         std::string(100, char('a' + writer)) + "\r");
    }
  }
  const std::time_t before = std::time(nullptr);
  LogCommandInfo("Gr\xF8nn", "Dom", "one\ntwo");
  SetEvent(start.get());
  for (const auto& process : writers) {
    EXPECT_EQ(exitCodeOf(process, 300000), 0u);
  }
  const std::string text = withoutStamps(log, before),
                    own = "earlier\r\nGr\xF8nn;@;Dom;one\r\ntwo\r\n";
  std::filesystem::remove_all(folder);
  ASSERT_EQ(text.substr(0, own.size()), own);
  // Sorted by writer, each writer's lines kept in their order.
  std::istringstream rest(text.substr(own.size()));
  std::vector<std::string> lines;
  for (std::string line; std::getline(rest, line);) {
    lines.push_back(line);
  }
  std::ranges::stable_sort(lines, {}, [](const std::string& line) { return line.substr(0, 7); });
  EXPECT_EQ(lines.size(), expected.size());
  EXPECT_TRUE(lines == expected) << "torn, lost, foreign or out of order lines";
}

} // namespace
