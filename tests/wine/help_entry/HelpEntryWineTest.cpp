// Help through a copy of the DLL in Binaries with the registered help control
// and the real shell; message boxes recorded, not shown.
#include "TsEnvironment.h"
#include "tests/wine/WinSystem.h"
#include "testsupport/ImportSwap.h"

#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tsen::testing {
namespace {

using testsupport::ImportSwap;

constexpr const char* kHelpControl =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

std::vector<std::string> calls; // message boxes and shell calls, in order

int WINAPI recordBox(HWND, LPCSTR text, LPCSTR caption, UINT style) {
  calls.push_back(std::string(caption) + " " + std::to_string(style) + ": " + text);
  return IDOK;
}
HINSTANCE WINAPI recordShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                             INT show) {
  const auto orNull = [](const char* text) { return std::string(text ? text : "(null)"); };
  calls.push_back((owner ? "owned " : "") + orNull(verb) + "|" + orNull(file) + "|" +
                  orNull(parameters) + "|" + orNull(folder) + "|" + std::to_string(show));
  return reinterpret_cast<HINSTANCE>(42);
}

// The parent of the program's folder, Binaries: the application folder.
const std::string kHelp = programFolder().erase(programFolder().rfind('\\')) + "\\Help\\";

// Written in text mode: LF to CR LF.
void writeHelp(std::string_view relative, std::string_view content) {
  const std::string file = kHelp + std::string(relative);
  std::filesystem::create_directories(file.substr(0, file.rfind('\\')));
  std::ofstream(file) << content;
}

class HelpEntryWine : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::remove_all(kHelp); // what a run that died left behind
    ASSERT_TRUE(boxSwap_.swapped());
    writeText(HKEY_CURRENT_USER, kKernel1840, "Language", "NOR");
    writeHelp("WikiCfg\\topics.cfg", "100;roads:start;\n");
    writeHelp("NOR\\RoadHelp.chm", "ITSF");
    SetEnvironmentVariableA("TSEN_FAKE_HH_LOG", viewerLog_.c_str());
  }
  ~HelpEntryWine() override {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kHelpControl);
    std::error_code ignored;
    std::filesystem::remove_all(kHelp, ignored);
  }

  ProductKeysGuard keys;
  const std::string localized = kHelp + "NOR\\RoadHelp.chm", viewerLog_ = kHelp + "v.log";
  ImportSwap<decltype(MessageBoxA)> boxSwap_{GetModuleHandleA("Tessaline.Environment.dll"),
                                             "user32.dll", "MessageBoxA", recordBox};
};

// Entry 14 of the registered file, its variables expanded, is called from the
// desktop window (no "!" in front of the call noted). The stand-in exports it
// by ordinal only.
TEST_F(HelpEntryWine, AnExpandableRegistrationIsExpandedAndItsEntry14Called) {
  SetEnvironmentVariableA("TSEN_HELP_CONTROL_FOLDER", programFolder().c_str());
  writeText(HKEY_CLASSES_ROOT, kHelpControl, nullptr,
            "%TSEN_HELP_CONTROL_FOLDER%\\FakeHtmlHelp.dll", REG_EXPAND_SZ);
  TsEnHelp(99, "RoadHelp");
  std::ifstream viewerLog(viewerLog_, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(viewerLog), {}),
            "15 99 " + localized + "\n");
  EXPECT_EQ(calls, std::vector<std::string>{});
}

// An address the shell has no handler for is told; one it has a handler for
// reaches it in the interop tests (the https scheme, recorded).
TEST_F(HelpEntryWine, TheShellGetsTheAddressVerbatimAndAnAddressWithoutHandlerIsTold) {
  writeText(HKEY_CURRENT_USER, kKernel1840, "Help BaseUrl", "tsennohandler://wiki.test");
  TsEnWikiHelp(100);
  EXPECT_EQ(calls,
            std::vector<std::string>{"Tessaline 64: Failed executing Wiki url (ShellExecute)."});
  calls.clear();
  // One unowned "open" call, shown normally, with the bytes verbatim. The
  // files are read in text mode: no CR is left, and Ctrl-Z ends the file.
  const ImportSwap<decltype(ShellExecuteA)> shell(GetModuleHandleA("Tessaline.Environment.dll"),
                                                  "shell32.dll", "ShellExecuteA", recordShell);
  ASSERT_TRUE(shell.swapped());
  writeText(HKEY_CURRENT_USER, kKernel1840, "Help BaseUrl", "h/%s\"\xE9");
  writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg", "DAN=da\nNOR=nb\n");
  writeHelp("WikiCfg\\topics.cfg", "100;roads:end\n\x1A\n300;roads:cut;\n");
  TsEnWikiHelp(100);
  TsEnWikiHelpOnly(300);
  const std::string open = "open|h/%s\"\xE9/doku.php/nb:ts:";
  EXPECT_EQ(calls,
            (std::vector{open + "roads:end|(null)|(null)|1", open + "start|(null)|(null)|1"}));
}

} // namespace
} // namespace tsen::testing
