// A stand-in for the HTML Help control. Appends "<command> <data> <file>" to
// the file TSEN_FAKE_HH_LOG ("!" in front unless called with the desktop
// window), and answers a window, as the control does when it shows the help.
#include <windows.h>

#include <cstdio>

extern "C" HWND WINAPI HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
  char log[4096] = {};
  if (GetEnvironmentVariableA("TSEN_FAKE_HH_LOG", log, sizeof log) < sizeof log) {
    if (std::FILE* out = std::fopen(log, "ab")) {
      std::fprintf(out, "%s%u %lld %s\n", caller == GetDesktopWindow() ? "" : "!", command,
                   static_cast<long long>(data), file ? file : "(null)");
      std::fclose(out);
    }
  }
  return GetDesktopWindow();
}
