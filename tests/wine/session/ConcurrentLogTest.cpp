// Several processes logging to one file at once: every line lands once,
// whole, and each process's lines keep their order.
#include "TsEnvironment.h"

#include "LogFolder.h"
#include "LogLines.h"
#include "tests/wine/folders/ChildProcess.h"

#include "platform/win32/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace {

using namespace tsen::testing;
using tsen::platform::win32::UniqueHandle;

TEST(ConcurrentLogTest, FourWritersLandEveryLineOnceWholeAndInOrder) {
  constexpr int kWriters = 4;
  constexpr int kLinesEach = 1000;
  const ProductKeysGuard guard;
  const LogFolder log(kLayout1840);
  const std::string tag = std::to_string(GetCurrentProcessId());
  const std::string readyName = "tsen-log-ready-" + tag;
  const std::string startName = "tsen-log-start-" + tag;
  const UniqueHandle ready(CreateSemaphoreA(nullptr, 0, kWriters, readyName.c_str()));
  const UniqueHandle start(CreateEventA(nullptr, TRUE, FALSE, startName.c_str()));
  ASSERT_TRUE(ready && start);

  std::vector<UniqueHandle> processes;
  for (int writer = 0; writer < kWriters; ++writer) {
    std::string command = quotedArgument(besideThisProgram("tsen_wine_log_writer.exe")) + " " +
                          std::to_string(writer) + " " + std::to_string(kLinesEach) + " " +
                          readyName + " " + startName;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &started))
        << GetLastError();
    CloseHandle(started.hThread);
    processes.emplace_back(started.hProcess);
  }
  for (int writer = 0; writer < kWriters; ++writer) {
    ASSERT_EQ(WaitForSingleObject(ready.get(), 60000), WAIT_OBJECT_0);
  }
  const std::time_t before = std::time(nullptr);
  SetEvent(start.get());
  for (const auto& process : processes) {
    ASSERT_EQ(WaitForSingleObject(process.get(), 300000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
  }
  const std::time_t after = std::time(nullptr);

  const auto lines = linesOf(log.logText());
  ASSERT_TRUE(lines) << "the log does not end with a whole line";
  std::map<int, std::vector<int>> indicesOfWriter;
  int malformed = 0;
  for (const std::string& text : *lines) {
    const auto line = parseLogLine(text);
    const int writer =
        line && line->command.starts_with("writer") ? std::atoi(line->command.c_str() + 6) : -1;
    const auto dash = line ? line->info.find('-') : std::string::npos;
    const bool whole =
        writer >= 0 && writer < kWriters && line->command == "writer" + std::to_string(writer) &&
        line->domain == "domain" + std::to_string(writer) &&
        isTimeStampWithin(line->time, before, after) && dash != std::string::npos &&
        line->info.substr(dash + 1) == std::string(100, static_cast<char>('a' + writer));
    if (!whole) {
      EXPECT_LT(malformed++, 3) << "malformed line: " << text;
      continue;
    }
    indicesOfWriter[writer].push_back(std::atoi(line->info.c_str()));
  }
  EXPECT_EQ(malformed, 0);
  std::vector<int> expected(kLinesEach);
  std::iota(expected.begin(), expected.end(), 0);
  for (int writer = 0; writer < kWriters; ++writer) {
    EXPECT_EQ(indicesOfWriter[writer], expected) << "writer " << writer;
  }
}

} // namespace
