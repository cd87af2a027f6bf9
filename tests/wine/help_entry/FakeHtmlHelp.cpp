// A stand-in for the HTML Help control. Appends "<command> <data> <file>" to
// the file TSEN_FAKE_HH_LOG ("!" in front unless called with the desktop
// window); answers a window only for calls listed in TSEN_FAKE_HH_SHOWS
// ("|"-separated).
#include <windows.h>

#include <cstdio>
#include <string>

static std::string environment(const char* name) {
  char value[4096] = {};
  return std::string(value, GetEnvironmentVariableA(name, value, sizeof value) % sizeof value);
}

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
