// A stand-in for the HTML Help control, registered in place of the real one
// by the tests. Every call is appended as "<command> <data> <file>" to the
// file named by TSEN_FAKE_HH_LOG (a leading "!" marks a caller other than
// the desktop window). The call shows help, answering the desktop window,
// when that same line is one of the "|"-separated entries of
// TSEN_FAKE_HH_SHOWS; otherwise it answers null.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string environment(const char* name) {
  std::string value(GetEnvironmentVariableA(name, nullptr, 0), '\0');
  value.resize(GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size())));
  return value;
}

} // namespace

extern "C" HWND WINAPI HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
  const std::string call = std::to_string(command) + " " +
                           std::to_string(static_cast<long long>(data)) + " " +
                           (file ? file : "(null)");
  if (std::FILE* log = std::fopen(environment("TSEN_FAKE_HH_LOG").c_str(), "ab")) {
    std::fprintf(log, "%s%s\n", caller == GetDesktopWindow() ? "" : "!", call.c_str());
    std::fclose(log);
  }
  const bool shows =
      ("|" + environment("TSEN_FAKE_HH_SHOWS") + "|").find("|" + call + "|") != std::string::npos;
  return shows ? GetDesktopWindow() : nullptr;
}
