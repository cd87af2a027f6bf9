// Help through a copy of the DLL in Binaries with the registered help control
// and the real shell; message boxes recorded, not shown.
#include "TsEnvironment.h"
#include "tests/wine/WinSystem.h"
#include "testsupport/ImportSwap.h"

#include <shellapi.h>

#include <cstdio>
#include <filesystem>

namespace tsen::testing {
namespace {

using testsupport::ImportSwap;

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

// Written in text mode (LF to CR LF) when asked.
std::string writeHelp(std::string_view relative, std::string_view content, bool crlf = false) {
  const std::string file = kHelp + std::string(relative);
  std::filesystem::create_directories(file.substr(0, file.rfind('\\')));
  if (std::FILE* out = std::fopen(file.c_str(), crlf ? "w" : "wb")) {
    std::fwrite(content.data(), 1, content.size(), out);
    std::fclose(out);
  }
  return file;
}

std::string missingTopic(int topic, const std::string& file) {
  return "Tessaline help 48: Unable to find topic \"" + std::to_string(topic) +
         "\" in help file \"" + file + "\" !";
}

class HelpEntryWine : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(boxSwap_.swapped());
    writeText(HKEY_CURRENT_USER, kKernel1840, "Language", "NOR");
    writeHelp("WikiCfg\\topics.cfg", "100;roads:start;\n");
    SetEnvironmentVariableA("TSEN_FAKE_HH_LOG", viewerLog_.c_str());
  }
  ~HelpEntryWine() override { removeHelp(); }
  static bool removeHelp() {
    std::error_code ignored;
    std::filesystem::remove_all(kHelp, ignored);
    return true;
  }

  ProductKeysGuard keys;
  bool cleaned_ = removeHelp(); // what a run that died left behind
  const std::string localized = writeHelp("NOR\\RoadHelp.chm", "ITSF"),
                    english = writeHelp("Eng\\RoadHelp.chm", "ITSF"), viewerLog_ = kHelp + "v.log";
  ImportSwap<decltype(MessageBoxA)> boxSwap_{GetModuleHandleA("Tessaline.Environment.dll"),
                                             "user32.dll", "MessageBoxA", recordBox};
};

// Entry 14, called from the desktop window (no "!" in front): a topic it
// does not know is told, then the English contents open.
TEST_F(HelpEntryWine, AnExpandableRegistrationIsExpandedAndTheControlsAnswersFollowed) {
  SetEnvironmentVariableA("TSEN_HELP_CONTROL_FOLDER", programFolder().c_str());
  const ClassesValue control(kHelpControl, REG_EXPAND_SZ,
                             "%TSEN_HELP_CONTROL_FOLDER%\\FakeHtmlHelp.dll");
  SetEnvironmentVariableA("TSEN_FAKE_HH_SHOWS", ("1 0 " + english).c_str());
  TsEnHelp(99, "RoadHelp");
  EXPECT_EQ(linesOf(viewerLog_), (std::vector{"15 99 " + localized, "1 0 " + english}));
  EXPECT_EQ(calls, std::vector{missingTopic(99, localized)});
}

// The entry exported by name at ordinal 15 is not used.
TEST_F(HelpEntryWine, AControlWithoutEntry14Fails) {
  const ClassesValue control(kHelpControl, REG_SZ, besideThisProgram("FakeHtmlHelpOrdinal15.dll"));
  SetEnvironmentVariableA("TSEN_FAKE_HH_SHOWS", ("15 21 " + localized + "|1 0 " + english).c_str());
  TsEnHelp(21, "RoadHelp");
  EXPECT_EQ(linesOf(viewerLog_), std::vector<std::string>{});
  EXPECT_EQ(calls,
            (std::vector{missingTopic(21, localized),
                         "Tessaline help 48: Unable to start help file \"" + english + "\" !"}));
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
  writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg", "DAN=da\nNOR=nb\n", true);
  writeHelp("WikiCfg\\topics.cfg", "100;roads:end\n\x1A\n300;roads:cut;\n", true);
  TsEnWikiHelp(100);
  TsEnWikiHelpOnly(300);
  const std::string open = "open|h/%s\"\xE9/doku.php/nb:ts:";
  EXPECT_EQ(calls,
            (std::vector{open + "roads:end|(null)|(null)|1", open + "start|(null)|(null)|1"}));
}

} // namespace
} // namespace tsen::testing
