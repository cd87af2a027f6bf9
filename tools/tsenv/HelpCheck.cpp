// help-check: the findings of every help file, and what help opens for each
// help request the topic files name.
#include "tools/tsenv/HelpCheck.h"

#include "tools/tsenv/Commands.h"

#include "help/ConfigLines.h"
#include "support/AsciiCase.h"

#include <iostream>

namespace tsenv {

namespace help = tsen::help;

void HelpCheck::problem(const std::string& where, const std::string& what) {
  if (reported.insert(where + ": " + what).second) {
    findings.push_back(where + ": " + what);
  }
}

void HelpCheck::note(const std::string& where, const std::string& what) {
  const std::size_t before = findings.size();
  problem(where, "note: " + what);
  notes += static_cast<int>(findings.size() - before);
}

std::string HelpCheck::shown(const std::string& path) const {
  const std::string prefix = app + "\\";
  return shownPath(!app.empty() && path.starts_with(prefix) ? path.substr(prefix.size()) : path);
}

std::string HelpCheck::at(const std::string& file, int line) const {
  return shown(file) + ":" + std::to_string(line);
}

bool HelpCheck::readLines(
    const std::string& file, int mode,
    const std::function<void(const std::string& at, std::string_view text)>& examine) {
  int number = 1;
  bool lineGoesOn = false;
  const auto read = help::searchConfigFile(
      file, mode,
      [&](std::string_view prepared) {
        if (!prepared.empty()) {
          examine(at(file, number), prepared);
        }
        number += lineGoesOn ? 0 : 1;
        return false;
      },
      [&](std::string_view piece) {
        if (lineGoesOn) {
          problem(at(file, number), "longer than 1023 characters: read in pieces, each as a line");
        }
        lineGoesOn = !piece.ends_with('\n');
        return true;
      });
  return read != help::FileSearch::notOpened;
}

namespace {

// Each help file once, in the first place that names it, in English and in
// every language folder below Help (every folder but the topic folder).
void checkCompiledHelpFiles(HelpCheck& check) {
  std::vector<std::string> languages;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(nativePath(check.help), error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory(error) &&
        !tsen::asciiEqualNoCase(check.topics, check.help + "\\" + name) && name != "Eng") {
      languages.push_back(name);
    }
  }
  std::set<std::string> checked;
  for (const auto& [name, namedBy] : check.helpFiles) {
    if (!checked.insert(name).second) {
      continue;
    }
    const auto path = [&](const std::string& code) {
      return help::compiledHelpFile("Help\\" + code + "\\", name);
    };
    const std::string what = "missing (named by " + namedBy + ")";
    const bool english = TsEnFileExist(path("Eng"), false);
    if (!english) {
      check.problem(check.shown(path("Eng")), what + ": no language can fall back to it");
    }
    for (const std::string& code : languages) {
      if (TsEnFileExist(path(code), false)) {
        continue;
      }
      english ? check.note(check.shown(path(code)), what + ": " + code + " users get English")
              : check.problem(check.shown(path(code)), what);
    }
  }
}

void checkHelp(HelpCheck& check) {
  if (check.app.empty() || !TsEnFileExist(check.help, false)) {
    check.problem(shownPath(check.help),
                  check.app.empty() ? "no application folder: the library is not in a Binaries "
                                      "folder"
                                    : "no Help folder");
    return;
  }
  checkConfigFiles(check);
  for (const std::string& domain : checkTopicFiles(check)) {
    if (!check.domains.contains(tsen::asciiUpperCopy(domain))) {
      check.problem(check.shown(check.topics + "\\" + domain),
                    "domain folder without a line in " +
                        check.shown(help::helpConfigFile(help::kExceptionsFile)) + " or " +
                        check.shown(help::helpConfigFile(help::kDefaultsFile)));
    }
  }
  checkCompiledHelpFiles(check);
}

// What TsEnHelp opens for a request, described on one line.
std::string opened(int topic, const std::string& name) {
  std::string described;
  describeActions(&described);
  TsEnHelp(topic, name);
  described.erase(described.find_last_not_of('\n') + 1);
  for (std::size_t at = described.find('\n'); at != std::string::npos; at = described.find('\n')) {
    described.replace(at, 1, " | ");
  }
  return described;
}

} // namespace

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
  runs(command, runner, [] {
    HelpCheck check{TsEnGetAppPath(), TsEnBuildFilename("<APPATH>\\Help", TsEnBaseNone, 0),
                    help::topicFolder()};
    checkHelp(check);
    std::cout << "Help folder: " << shownPath(check.help) << '\n';
    for (const auto& [name, topic] : check.requests) {
      std::cout << "help " << topic << ' ' << name << ": " << opened(std::stoi(topic), name)
                << '\n';
    }
    for (const std::string& line : check.findings) {
      std::cout << line << '\n';
    }
    const int problems = static_cast<int>(check.findings.size()) - check.notes;
    std::cout << problems << (problems == 1 ? " problem, " : " problems, ") << check.notes
              << (check.notes == 1 ? " note" : " notes") << '\n';
    return problems == 0 ? kExitDone : kExitNo;
  });
}

} // namespace tsenv
