// Appending to a shared log: whole lines, from one process and from many.
#include "platform/Platform.h"

#include "ScratchFolder.h"
#include "platform/win32/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <numeric>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace platform = tsen::platform;
using tsen::testing::ScratchFolder;

std::string contentOf(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string besideThisProgram(const std::string& name) {
  std::string self(MAX_PATH * 4, '\0');
  self.resize(GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

struct WrittenLine {
  int writer;
  int index;
};

// A line as tsen_append_writer writes it: writer, index, the writer's
// padding, CR; nothing when it is torn.
std::optional<WrittenLine> parseWrittenLine(const std::string& line) {
  const auto first = line.find(';');
  const auto second = line.find(';', first == std::string::npos ? first : first + 1);
  if (second == std::string::npos || line.empty() || line.back() != '\r') {
    return std::nullopt;
  }
  const std::string writer = line.substr(0, first);
  const std::string index = line.substr(first + 1, second - first - 1);
  const auto isNumber = [](const std::string& text) {
    return !text.empty() && text.size() < 6 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!isNumber(writer) || !isNumber(index)) {
    return std::nullopt;
  }
  const WrittenLine written{std::stoi(writer), std::stoi(index)};
  const std::string padding(120, static_cast<char>('a' + written.writer % 26));
  if (line.compare(second + 1, std::string::npos, padding + "\r") != 0) {
    return std::nullopt;
  }
  return written;
}

class PlatformAppendTest : public ::testing::Test {
protected:
  ScratchFolder folder;
};

TEST_F(PlatformAppendTest, CreatesTheFileAndAppendsAfterWhatItHolds) {
  const std::string file = folder.below("log.txt");
  ASSERT_TRUE(platform::appendToFile(file, "one\r\n"));
  ASSERT_TRUE(platform::appendToFile(file, "two\r\n"));
  EXPECT_EQ(contentOf(file), "one\r\ntwo\r\n");
}

TEST_F(PlatformAppendTest, NeverCreatesTheFolder) {
  EXPECT_FALSE(platform::appendToFile(folder.below("missing\\log.txt"), "line\r\n"));
  EXPECT_FALSE(platform::pathFileExists(folder.below("missing")));
}

TEST_F(PlatformAppendTest, AppendsWhileAReaderHoldsTheFileOpen) {
  const std::string file = folder.addFile("log.txt", "before\r\n");
  std::ifstream reader(file, std::ios::binary);
  ASSERT_TRUE(reader.is_open());
  EXPECT_TRUE(platform::appendToFile(file, "after\r\n"));
  reader.close();
  EXPECT_EQ(contentOf(file), "before\r\nafter\r\n");
}

TEST_F(PlatformAppendTest, LinesOfConcurrentProcessesLandWhole) {
  constexpr int kWriters = 4;
  constexpr int kLinesEach = 400;
  const std::string file = folder.below("shared.log");
  const std::string tag = std::to_string(GetCurrentProcessId());
  const std::string readyName = "tsen-append-ready-" + tag;
  const std::string startName = "tsen-append-start-" + tag;
  const tsen::platform::win32::UniqueHandle ready(
      CreateSemaphoreA(nullptr, 0, kWriters, readyName.c_str()));
  const tsen::platform::win32::UniqueHandle start(
      CreateEventA(nullptr, TRUE, FALSE, startName.c_str()));
  ASSERT_TRUE(ready && start);

  std::vector<tsen::platform::win32::UniqueHandle> processes;
  for (int writer = 0; writer < kWriters; ++writer) {
    std::string command = "\"" + besideThisProgram("tsen_append_writer.exe") + "\" \"" + file +
                          "\" " + std::to_string(writer) + " " + std::to_string(kLinesEach) + " " +
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
  // All writers start together, once each has started up.
  for (int writer = 0; writer < kWriters; ++writer) {
    ASSERT_EQ(WaitForSingleObject(ready.get(), 60000), WAIT_OBJECT_0);
  }
  SetEvent(start.get());
  for (const auto& process : processes) {
    ASSERT_EQ(WaitForSingleObject(process.get(), 120000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
  }

  // Every line whole, each writer's lines complete and in order.
  std::istringstream lines(contentOf(file));
  std::map<int, std::vector<int>> indicesOfWriter;
  std::string line;
  std::string firstTorn;
  int torn = 0;
  while (std::getline(lines, line)) {
    if (const auto written = parseWrittenLine(line)) {
      indicesOfWriter[written->writer].push_back(written->index);
    } else if (torn++ == 0) {
      firstTorn = line;
    }
  }
  EXPECT_EQ(torn, 0) << "first torn line: " << firstTorn;
  std::vector<int> expected(kLinesEach);
  std::iota(expected.begin(), expected.end(), 0);
  for (int writer = 0; writer < kWriters; ++writer) {
    EXPECT_EQ(indicesOfWriter[writer], expected) << "writer " << writer;
  }
}

} // namespace
