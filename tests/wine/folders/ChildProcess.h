// Helper programs of the tests: found beside the test program and started
// in processes of their own.
#pragma once

#include "platform/win32/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <string_view>

namespace tsen::testing {

// A file in the folder of the running test program, where the build puts
// the library and the helper programs.
inline std::string besideThisProgram(std::string_view name) {
  std::string self(MAX_PATH * 4, '\0');
  self.resize(GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return self.substr(0, self.find_last_of('\\') + 1) + std::string(name);
}

// Starts a command line (arguments holding neither quotes nor a trailing
// backslash may simply be quoted); fails the test when it cannot.
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

// Waits for the process to end and answers its exit code; 99 when it did
// not end in time.
inline DWORD exitCodeOf(const platform::win32::UniqueHandle& process, DWORD milliseconds = 60000) {
  DWORD exitCode = 99;
  if (process && WaitForSingleObject(process.get(), milliseconds) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.get(), &exitCode);
  }
  return exitCode;
}

} // namespace tsen::testing
