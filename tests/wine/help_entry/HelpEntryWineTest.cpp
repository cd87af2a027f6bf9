// Help requests through the DLL against the real system: compiled help
// through the registered help control (entry 14, an expandable registration,
// the desktop window as caller), wiki addresses opened by the real shell for
// a scheme of the tests' own or refused for want of a handler, and the exact
// call the DLL makes to the shell, with help files read from a real disk.
// The DLL's message boxes are recorded.
#include "HelpEntryWine.h"

#include <shellapi.h>

namespace tsen::testing {
namespace {

// The control is loaded from an expandable registration and called from the
// desktop window (no "!" in front); a topic it does not know is told, then
// the English contents open.
TEST_F(HelpEntryWine, AnExpandableRegistrationIsExpandedAndTheControlsAnswersFollowed) {
  SetEnvironmentVariableA("TSEN_HELP_CONTROL_FOLDER", programFolder().c_str());
  control.reset();
  control = registerControl("%TSEN_HELP_CONTROL_FOLDER%\\FakeHtmlHelp.dll", REG_EXPAND_SZ);
  const std::string localized = chm("NOR", "RoadHelp"), english = chm("Eng", "RoadHelp");
  app.writeHelp("NOR\\RoadHelp.chm", "ITSF");
  app.writeHelp("Eng\\RoadHelp.chm", "ITSF");
  showInViewer({"1 0 " + english});
  TsEnHelp(99, "RoadHelp");
  EXPECT_EQ(viewerCalls(), (std::vector{"15 99 " + localized, "1 0 " + english}));
  EXPECT_EQ(shownBoxes(), std::vector{helpBox(topicMissingText(99, localized))});
}

TEST_F(HelpEntryWine, AControlWithoutEntry14FailsForTheRestOfTheProcess) {
  // The entry is exported by name at ordinal 15: it must not be found.
  control.reset();
  control = registerControl(programFolder() + "\\FakeHtmlHelpOrdinal15.dll");
  app.writeHelp("NOR\\RoadHelp.chm", "ITSF");
  app.writeHelp("Eng\\RoadHelp.chm", "ITSF");
  showInViewer({"15 21 " + chm("NOR", "RoadHelp"), "1 0 " + chm("Eng", "RoadHelp")});
  TsEnHelp(21, "RoadHelp");
  // A working control registered now is not tried: the failure is kept.
  control.reset();
  control = registerControl(programFolder() + "\\FakeHtmlHelp.dll");
  TsEnHelp(21, "RoadHelp");
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
  const std::vector<std::string> once{helpBox(topicMissingText(21, chm("NOR", "RoadHelp"))),
                                      helpBox(viewerFailedText(chm("Eng", "RoadHelp")))};
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(shownBoxes(), twice);
}

class WikiLaunchWine : public HelpEntryWine {
protected:
  void SetUp() override {
    HelpEntryWine::SetUp();
    app.writeHelp("WikiCfg\\topics.cfg", "100;roads:start;20,21;roadhelp;\n");
  }
};

TEST_F(WikiLaunchWine, TheShellOpensTheComposedAddress) {
  const RecordedScheme scheme("tsenwikitest", app.help("address.txt"));
  setKernelString("Help BaseUrl", "tsenwikitest://wiki.test");
  TsEnWikiHelp(100);
  TsEnHelp(21, "RoadHelp");
  TsEnWikiHelpOnly(5);
  const std::string wiki = "tsenwikitest://wiki.test/doku.php/en:ts:";
  EXPECT_EQ(scheme.recorded(3),
            (std::vector{wiki + "roads:start", wiki + "roads:start", wiki + "start"}));
  EXPECT_EQ(shownBoxes(), std::vector<std::string>{});
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
}

TEST_F(WikiLaunchWine, AnAddressTheShellCannotOpenIsToldOnce) {
  // A compiled help file the viewer would show: a page found is never
  // offered to compiled help, even when its launch fails.
  app.writeHelp("NOR\\RoadHelp.chm", "ITSF");
  showInViewer({"15 21 " + chm("NOR", "RoadHelp")});
  for (const char* base : {"tsennohandler://wiki.test", "", "wiki.test"}) {
    shownBoxes().clear();
    setKernelString("Help BaseUrl", base);
    TsEnWikiHelp(100);
    TsEnHelp(21, "RoadHelp");
    EXPECT_EQ(shownBoxes(), (std::vector{kShellFailedBox, kShellFailedBox})) << base;
  }
  EXPECT_EQ(viewerCalls(), std::vector<std::string>{});
}

std::vector<std::string>& shellCalls() {
  static std::vector<std::string> calls;
  return calls;
}
HINSTANCE WINAPI recordShell(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                             INT show) {
  const auto orNull = [](const char* text) { return std::string(text ? text : "(null)"); };
  shellCalls().push_back((owner ? "owned " : "") + orNull(verb) + "|" + orNull(file) + "|" +
                         orNull(parameters) + "|" + orNull(folder) + "|" + std::to_string(show));
  return reinterpret_cast<HINSTANCE>(42);
}
// The call that opens address: unowned, "open", shown normally.
std::string opening(const std::string& address) {
  return "open|" + address + "|(null)|(null)|1";
}

class RecordedShell : public WikiLaunchWine {
protected:
  void SetUp() override {
    WikiLaunchWine::SetUp();
    ASSERT_TRUE(shellSwap_.swapped());
  }

private:
  ImportSwap<decltype(ShellExecuteA)> shellSwap_{environmentDll(), "shell32.dll", "ShellExecuteA",
                                                 recordShell};
};

// Settings and page bytes that a shell or a command line would mangle reach
// ShellExecuteA verbatim; the files are read in text mode: no CR is left at
// a line's end, and Ctrl-Z ends the file.
TEST_F(RecordedShell, CrLfFilesAndOddBytesGiveTheAddressVerbatim) {
  setKernelString("Help BaseUrl", "h/%s%n\"\xE9");
  setKernelString("Help Platform", "a b");
  app.writeHelp("Tessaline_Wiki_Help_Language_Mapping.cfg", "DAN=da\nNOR=nb\n", true);
  app.writeHelp("WikiCfg\\topics.cfg",
                "100; roads : my%s page\"\xE9 ;\n200;roads:end\n\x1A\n300;roads:cut;\n", true);
  TsEnWikiHelp(100);
  TsEnWikiHelp(200);
  TsEnWikiHelpOnly(300);
  const std::string wiki = "h/%s%n\"\xE9/doku.php/nb:a b:";
  EXPECT_EQ(shellCalls(), (std::vector{opening(wiki + "roads:my%spage\"\xE9"),
                                       opening(wiki + "roads:end"), opening(wiki + "start")}));
  EXPECT_EQ(shownBoxes(), std::vector<std::string>{});
}

// The domain's folder is named as stored, blanks and bytes above 0x7F
// included. A folder named like a topic file, and a file held open without
// sharing, are gone over in the order of the system's listing.
TEST_F(RecordedShell, TheTopicSearchGoesOverEntriesThatDoNotOpen) {
  setKernelString("Help BaseUrl", "x://w");
  setActiveDomain("Road Works \xC4");
  const std::string domain = "WikiCfg\\Road Works \xC4\\";
  app.writeHelp(domain + "a.cfg\\inner.cfg", "100;inner;\n");
  for (const char* name : {"b.cfg", "k.cfg", "x.cfg"}) {
    app.writeHelp(domain + name, std::string("100;") + name + ";\n");
  }
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  const auto find = platform::win32::ownValidHandle<platform::win32::UniqueFind>(
      FindFirstFileA(app.help(domain + "*.cfg").c_str(), &found));
  for (bool more = find != nullptr; more; more = FindNextFileA(find.get(), &found)) {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      files.emplace_back(found.cFileName);
    }
  }
  ASSERT_EQ(files.size(), 3u);
  const auto held = platform::win32::ownValidHandle<platform::win32::UniqueHandle>(
      CreateFileA(app.help(domain + files[0]).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                  FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  TsEnWikiHelp(100);
  EXPECT_EQ(shellCalls(), std::vector{opening("x://w/doku.php/en:ts:" + files[1])});
}

} // namespace
} // namespace tsen::testing
