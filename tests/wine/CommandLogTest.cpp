// The command log on the real file system: local time stamps, and several
// processes logging at once.
#include "TsEnvironment.h"

#include "WinSystem.h"
#include "platform/win32/Handles.h"

#include <process.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
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
    char stamp[32];
    const std::size_t length =
        std::strftime(stamp, sizeof stamp, "%Y.%m.%d, %H:%M:%S", std::localtime(&t));
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
  const std::string program = programFolder() + "\\tsen_log_writer.exe";
  std::vector<std::intptr_t> writers;
  std::vector<std::string> expected{"earlier\r", "Gr\xF8nn;@;Dom;one\r", "two\r"};
  for (int writer = 0; writer < kWriters; ++writer) {
    const std::string id = std::to_string(writer), lines = std::to_string(kLinesEach);
    writers.push_back(_spawnl(_P_NOWAIT, program.c_str(), "tsen_log_writer", id.c_str(),
                              lines.c_str(), name.c_str(), nullptr));
    ASSERT_NE(writers.back(), -1) << program;
    ASSERT_EQ(WaitForSingleObject(ready.get(), 60000), WAIT_OBJECT_0);
    for (int line = 0; line < kLinesEach; ++line) {
      expected.push_back("writer" + id + ";@;domain" + id + ";" + std::to_string(line) + "-" +
                         std::string(100, char('a' + writer)) + "\r");
    }
  }
  const std::time_t before = std::time(nullptr);
  LogCommandInfo("Gr\xF8nn", "Dom", "one\ntwo");
  SetEvent(start.get());
  for (const std::intptr_t process : writers) {
    int status = 99;
    EXPECT_TRUE(_cwait(&status, process, 0) != -1 && status == 0) << status;
  }
  std::istringstream text(withoutStamps(log, before));
  std::filesystem::remove_all(folder);
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) {
    lines.push_back(line);
  }
  // Sorted by writer, each writer's lines kept in their order, after what was there.
  std::ranges::stable_sort(lines, {}, [](const std::string& line) {
    return line.starts_with("writer") ? line.substr(0, 7) : "";
  });
  EXPECT_EQ(lines.size(), expected.size());
  EXPECT_TRUE(lines == expected) << "torn, lost, foreign or out of order lines";
}

} // namespace
