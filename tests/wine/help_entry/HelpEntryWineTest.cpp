// Help through the DLL with the registered help control and the real shell.
// The program's folder, Binaries, holds a copy of the DLL and the helpers.
// The DLL's message boxes are recorded, not shown.
#include "HelpEntryWine.h"
#include "ImportSwap.h"
#include "TsEnvironment.h"
#include "tests/wine/help/HelpAppFolder.h"

#include <shellapi.h>

namespace tsen::testing {
namespace {

std::vector<std::string> calls; // message boxes and shell calls, in order

int WINAPI recordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  calls.push_back(std::string(owner ? "owned " : "") + caption + " " + std::to_string(style) +
                  ": " + text);
  return IDOK;
}
HINSTANCE WINAPI recordShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                             INT show) {
  const auto orNull = [](const char* text) { return std::string(text ? text : "(null)"); };
  calls.push_back((owner ? "owned " : "") + orNull(verb) + "|" + orNull(file) + "|" +
                  orNull(parameters) + "|" + orNull(folder) + "|" + std::to_string(show));
  return reinterpret_cast<HINSTANCE>(42);
}

std::string helpBox(const std::string& text) {
  return "Tessaline help 48: " + text;
}

class HelpEntryWine : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(boxSwap_.swapped());
    setLanguageCode("NOR");
    app.writeHelp("WikiCfg\\topics.cfg", "100;roads:start;\n");
    SetEnvironmentVariableA("TSEN_FAKE_HH_LOG", viewerLog_.c_str());
  }

  // <app>\Help\<folder>\RoadHelp.chm, written, spelled as the library does.
  std::string chm(std::string_view folder) const {
    return app.writeHelp(std::string(folder) + "\\RoadHelp.chm", "ITSF");
  }
  std::vector<std::string> viewerCalls() const { return linesOf(viewerLog_); }

  ProductKeysGuard keys;
  HelpAppFolder app;
  std::unique_ptr<ClassesValue> control = registerControl(besideThisProgram("FakeHtmlHelp.dll"));

private:
  std::string viewerLog_ = app.help("viewer.log");
  ImportSwap<decltype(MessageBoxA)> boxSwap_{GetModuleHandleA("Tessaline.Environment.dll"),
                                             "user32.dll", "MessageBoxA", recordBox};
};

// Entry 14 of the control named by an expandable registration, called from
// the desktop window (no "!" in front): a topic it does not know is told,
// then the English contents open.
TEST_F(HelpEntryWine, AnExpandableRegistrationIsExpandedAndTheControlsAnswersFollowed) {
  SetEnvironmentVariableA("TSEN_HELP_CONTROL_FOLDER", programFolder().c_str());
  control.reset();
  control = registerControl("%TSEN_HELP_CONTROL_FOLDER%\\FakeHtmlHelp.dll", REG_EXPAND_SZ);
  const std::string localized = chm("NOR"), english = chm("Eng");
  SetEnvironmentVariableA("TSEN_FAKE_HH_SHOWS", ("1 0 " + english).c_str());
  TsEnHelp(99, "RoadHelp");
  EXPECT_EQ(viewerCalls(), (std::vector{"15 99 " + localized, "1 0 " + english}));
  EXPECT_EQ(calls, std::vector{helpBox("Unable to find topic \"99\" in help file \"" + localized +
                                       "\" !")});
}

// The entry exported by name at ordinal 15 is not found, and the failure is
// kept: a working control registered afterwards is not tried.
TEST_F(HelpEntryWine, AControlWithoutEntry14FailsForTheRestOfTheProcess) {
  control.reset();
  control = registerControl(besideThisProgram("FakeHtmlHelpOrdinal15.dll"));
  const std::string localized = chm("NOR"), english = chm("Eng");
  SetEnvironmentVariableA("TSEN_FAKE_HH_SHOWS", ("15 21 " + localized + "|1 0 " + english).c_str());
  TsEnHelp(21, "RoadHelp");
  control.reset();
  control = registerControl(besideThisProgram("FakeHtmlHelp.dll"));
  TsEnHelp(21, "RoadHelp");
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
  const std::string missing =
      helpBox("Unable to find topic \"21\" in help file \"" + localized + "\" !");
  const std::string failed = helpBox("Unable to start help file \"" + english + "\" !");
  EXPECT_EQ(calls, (std::vector{missing, failed, missing, failed}));
}

// Opened by the handler of the address's scheme, or told when there is none.
TEST_F(HelpEntryWine, TheShellOpensTheComposedAddressWithTheSchemesHandler) {
  const RecordedScheme scheme("tsenwikitest", app.help("address.txt"));
  setKernelString("Help BaseUrl", "tsenwikitest://wiki.test");
  TsEnWikiHelp(100);
  TsEnWikiHelpOnly(5);
  const std::string wiki = "tsenwikitest://wiki.test/doku.php/en:ts:";
  EXPECT_EQ(scheme.recorded(2), (std::vector{wiki + "roads:start", wiki + "start"}));
  EXPECT_EQ(calls, std::vector<std::string>{});
  setKernelString("Help BaseUrl", "tsennohandler://wiki.test");
  TsEnWikiHelp(100);
  EXPECT_EQ(calls,
            std::vector<std::string>{"Tessaline 64: Failed executing Wiki url (ShellExecute)."});
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
}

// One unowned call, "open", shown normally, with the bytes of settings and
// pages verbatim. The files are read in text mode: no CR is left at a
// line's end, and Ctrl-Z ends the file.
TEST_F(HelpEntryWine, TheShellGetsTheAddressVerbatimFromCrLfFiles) {
  const ImportSwap<decltype(ShellExecuteA)> shell(GetModuleHandleA("Tessaline.Environment.dll"),
                                                  "shell32.dll", "ShellExecuteA", recordShell);
  ASSERT_TRUE(shell.swapped());
  setKernelString("Help BaseUrl", "h/%s\"\xE9");
  app.writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg", "DAN=da\nNOR=nb\n", true);
  app.writeHelp("WikiCfg\\topics.cfg", "100;roads:end\n\x1A\n300;roads:cut;\n", true);
  TsEnWikiHelp(100);
  TsEnWikiHelpOnly(300);
  const std::string open = "open|h/%s\"\xE9/doku.php/nb:ts:";
  EXPECT_EQ(calls,
            (std::vector{open + "roads:end|(null)|(null)|1", open + "start|(null)|(null)|1"}));
}

} // namespace
} // namespace tsen::testing
