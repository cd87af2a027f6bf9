// Helper programs of the tests: found beside the test program, started
// with arguments that reach them unchanged, their output read back.
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

// One argument quoted so the C runtime hands it to main unchanged.
inline std::string quotedArgument(std::string_view argument) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '"') {
      // Backslashes before a quotation mark are doubled, and it is escaped.
      quoted.append(backslashes + 1, '\\');
    }
    backslashes = c == '\\' ? backslashes + 1 : 0;
    quoted += c;
  }
  // So are those before the closing one.
  quoted.append(backslashes, '\\');
  return quoted + "\"";
}

// Starts commandLine and answers what it wrote to its standard output, or
// fails the test when it cannot be started or does not end with 0.
inline std::string outputOf(std::string commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    ADD_FAILURE() << "no pipe: " << GetLastError();
    return {};
  }
  const platform::win32::UniqueHandle reader(readEnd);
  platform::win32::UniqueHandle writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &started)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": " << GetLastError();
    return {};
  }
  const platform::win32::UniqueHandle process(started.hProcess);
  CloseHandle(started.hThread);
  // Only the child holds the write end now: reading ends when it exits.
  writer.reset();

  std::string output;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr) && read > 0) {
    output.append(chunk, read);
  }
  DWORD exitCode = 99;
  if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.get(), &exitCode) || exitCode != 0) {
    ADD_FAILURE() << commandLine << " ended with " << exitCode;
  }
  return output;
}

} // namespace tsen::testing
