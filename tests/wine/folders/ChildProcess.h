// Helper programs of the tests, found beside the test program.
#pragma once

#include "platform/win32/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::testing {

inline std::string programFolder() {
  std::string self(MAX_PATH * 4, '\0');
  self.resize(GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return self.erase(self.rfind('\\'));
}

inline std::string besideThisProgram(std::string_view name) {
  return programFolder() + "\\" + std::string(name);
}

inline std::vector<std::string> linesOf(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

inline platform::win32::UniqueHandle startProcess(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": " << GetLastError();
    return nullptr;
  }
  CloseHandle(started.hThread);
  return platform::win32::UniqueHandle(started.hProcess);
}

// 99 when the process did not end in time.
inline DWORD exitCodeOf(const platform::win32::UniqueHandle& process, DWORD milliseconds = 60000) {
  DWORD exitCode = 99;
  if (process && WaitForSingleObject(process.get(), milliseconds) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.get(), &exitCode);
  }
  return exitCode;
}

} // namespace tsen::testing
