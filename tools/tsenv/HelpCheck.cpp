// help-check: the findings of every help file, and what help opens for each
// help request the topic files name.
#include "tools/tsenv/HelpCheck.h"

#include "tools/tsenv/Commands.h"
#include "tools/tsenv/DescribedActions.h"
#include "tools/tsenv/NativePath.h"

#include "help/ConfigLines.h"
#include "support/AsciiCase.h"

#include "TsEnvironment.h"

#include <iostream>

namespace tsenv {
namespace {

// The language folders below Help: every folder but the topic folder.
std::vector<std::string> languageFolders(const HelpFolders& folders) {
  std::vector<std::string> codes;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(nativePath(folders.help), error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory(error) &&
        !tsen::asciiEqualNoCase(folders.topics, folders.help + "\\" + name)) {
      codes.push_back(name);
    }
  }
  return codes;
}

// Each help file once, in the first place that names it.
void checkCompiledHelpFiles(const HelpFolders& folders, const std::vector<NamedHelpFile>& files,
                            Findings& findings) {
  const std::vector<std::string> languages = languageFolders(folders);
  std::set<std::string> checked;
  for (const NamedHelpFile& file : files) {
    if (!checked.insert(file.name).second) {
      continue;
    }
    const auto path = [&](const std::string& code) {
      return tsen::help::compiledHelpFile("Help\\" + code + "\\", file.name);
    };
    const std::string what = "missing (named by " + file.namedBy + ")";
    const bool english = TsEnFileExist(path("Eng"), false);
    if (!english) {
      findings.problem(folders.shown(path("Eng")), what + ": no language can fall back to it");
    }
    for (const std::string& code : languages) {
      if (TsEnFileExist(path(code), false) || code == "Eng") {
        continue;
      }
      if (english) {
        findings.note(folders.shown(path(code)), what + ": " + code + " users get English");
      } else {
        findings.problem(folders.shown(path(code)), what);
      }
    }
  }
}

void checkHelp(const HelpFolders& folders, HelpRequests& requests, Findings& findings) {
  if (folders.app.empty() || !TsEnFileExist(folders.help, false)) {
    findings.problem(shownPath(folders.help),
                     folders.app.empty() ? "no application folder: the library is not in a "
                                           "Binaries folder"
                                         : "no Help folder");
    return;
  }
  ConfigSummary config = checkConfigFiles(folders, findings);
  for (const std::string& domain : checkTopicFiles(folders, config.helpFiles, requests, findings)) {
    if (!config.domains.contains(tsen::asciiUpperCopy(domain))) {
      findings.problem(folders.shown(folders.topics + "\\" + domain),
                       "domain folder without a line in " +
                           folders.shown(tsen::help::helpConfigFile(tsen::help::kExceptionsFile)) +
                           " or " +
                           folders.shown(tsen::help::helpConfigFile(tsen::help::kDefaultsFile)));
    }
  }
  checkCompiledHelpFiles(folders, config.helpFiles, findings);
}

} // namespace

HelpFolders HelpFolders::fromLibrary() {
  return {TsEnGetAppPath(), TsEnBuildFilename("<APPATH>\\Help", TsEnBaseNone, 0),
          tsen::help::topicFolder()};
}

std::string HelpFolders::shown(const std::string& path) const {
  const std::string prefix = app + "\\";
  return shownPath(!app.empty() && path.starts_with(prefix) ? path.substr(prefix.size()) : path);
}

bool readHelpLines(const HelpFolders& folders, const std::string& file, int mode,
                   Findings& findings,
                   const std::function<void(int line, std::string_view text)>& examine) {
  tsen::TextLines lines(tsen::platform::openFile(file, "rb"));
  if (!lines.isOpen()) {
    return false;
  }
  std::string_view piece;
  std::string prepared;
  int number = 1;
  bool lineGoesOn = false;
  while (lines.next(piece)) {
    if (lineGoesOn) {
      findings.problem(folders.at(file, number),
                       "longer than 1023 characters: read in pieces, each as a line");
    }
    tsen::help::PrepareConfigLine(piece, mode, prepared);
    if (!prepared.empty()) {
      examine(number, prepared);
    }
    lineGoesOn = !piece.ends_with('\n');
    number += lineGoesOn ? 0 : 1;
  }
  return true;
}

void addHelpCheckCommand(CLI::App& app, Runner& runner) {
  CLI::App* command =
      app.add_subcommand("help-check", "Check the installed help configuration files");
  command->footer(
      "Reads the exceptions, defaults and language mapping files and every topic file below "
      "Help\\WikiCfg as the library does, and tells what help opens for each help topic they "
      "name. Reports malformed lines (file:line), keys and topics defined twice (and which one "
      "wins), domain folders that no configuration line names, and compiled help files that "
      "are named but not installed. Exit status 1 when a problem is found; notes alone leave "
      "it 0.");
  command->callback([&runner] {
    runner = [] {
      const HelpFolders folders = HelpFolders::fromLibrary();
      HelpRequests requests;
      Findings findings;
      checkHelp(folders, requests, findings);
      std::cout << "Help folder: " << shownPath(folders.help) << '\n';
      std::string opened;
      describeActions(&opened);
      for (const auto& [name, topic] : requests) {
        opened.clear();
        TsEnHelp(std::stoi(topic), name);
        opened.erase(opened.find_last_not_of('\n') + 1);
        for (std::size_t at = opened.find('\n'); at != std::string::npos; at = opened.find('\n')) {
          opened.replace(at, 1, " | ");
        }
        std::cout << "help " << topic << ' ' << name << ": " << opened << '\n';
      }
      for (const std::string& line : findings.lines()) {
        std::cout << line << '\n';
      }
      std::cout << findings.problems() << (findings.problems() == 1 ? " problem, " : " problems, ")
                << findings.notes() << (findings.notes() == 1 ? " note" : " notes") << '\n';
      return findings.problems() == 0 ? kExitDone : kExitNo;
    };
  });
}

} // namespace tsenv
