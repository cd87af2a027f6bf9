// Help requests over the test double: an application folder with help files,
// a help viewer that opens what is installed, and what the user is shown
// written as plain lines, so that whole sequences compare at once.
#pragma once

#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::testing {

// The wiki the library opens when no address is configured, as built.
inline constexpr std::string_view kDefaultBase = TSEN_TEST_HELP_BASE_URL;

// The default wiki's address of a page, given as "<language>:<platform>:<page>".
inline std::string defaultWiki(std::string_view page) {
  return std::string(kDefaultBase) + "/doku.php/" + std::string(page);
}

inline std::string fileMissingText(const std::string& localized, const std::string& english) {
  return "Unable to find help file \"" + localized + "\" !\n\nTried to load English version \"" +
         english + "\", but was not found either.";
}
inline std::string viewerFailedText(const std::string& file) {
  return "Unable to start help file \"" + file + "\" !";
}
inline std::string topicMissingText(int topic, const std::string& file) {
  return "Unable to find topic \"" + std::to_string(topic) + "\" in help file \"" + file + "\" !";
}

// A message box as one line: caption, style, text.
inline std::string boxLine(const std::string& caption, unsigned style, const std::string& text) {
  char styleText[16];
  std::snprintf(styleText, sizeof styleText, "%#x", style);
  return caption + " " + styleText + ": " + text;
}
inline std::string helpBox(const std::string& text) {
  return boxLine("Tessaline help", 0x30, text);
}
inline const std::string kShellFailedBox =
    boxLine("Tessaline", 0x40, "Failed executing Wiki url (ShellExecute).");

class HelpEntryTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    installLibraryIn(app.library());
    fake::setHelpAnswer([this](const fake::HelpCall& call) {
      const auto file = viewable_.find(call.file);
      return file != viewable_.end() &&
             (call.command == platform::kHhDisplayToc || file->second.count(call.data) != 0);
    });
  }

  static void setLanguage(std::string_view code) {
    fake::setString(kHKCU, kKernel1840, "Language", code);
  }
  void writeHelp(std::string_view relative, std::string_view content) const {
    app.write("Help/" + std::string(relative), content);
  }
  // <app>\Help\<folder>\<name>.chm, spelled as the library spells it.
  std::string chm(std::string_view folder, std::string_view name) const {
    return app.library() + "\\Help\\" + std::string(folder) + "\\" + std::string(name) + ".chm";
  }
  // Installs a compiled help file. The viewer opens it at its contents and at
  // the topics given, unless it cannot open it at all.
  void installChm(std::string_view folder, std::string_view name,
                  std::set<std::intptr_t> topics = {}, bool viewerOpens = true) {
    writeHelp(std::string(folder) + "/" + std::string(name) + ".chm", "ITSF");
    if (viewerOpens) {
      viewable_[chm(folder, name)] = std::move(topics);
    }
  }

  // Each help-viewer call as "<file> <command> <data>".
  static std::vector<std::string> viewerCalls() {
    std::vector<std::string> lines;
    for (const auto& call : fake::helpCalls()) {
      lines.push_back(viewerLine(call.file, call.command, call.data));
    }
    return lines;
  }
  static std::string viewerLine(const std::string& file, unsigned command, std::intptr_t data) {
    return file + " " + std::to_string(command) + " " + std::to_string(data);
  }
  static std::vector<std::string> boxes() {
    std::vector<std::string> lines;
    for (const auto& box : fake::messageBoxes()) {
      lines.push_back(boxLine(box.caption, box.style, box.text));
    }
    return lines;
  }

  ScratchFolder app;

private:
  std::map<std::string, std::set<std::intptr_t>> viewable_;
};

} // namespace tsen::testing
