// help-check: the installed help configuration and topic files, read line by
// line with the library's own reading and rules, and what would make help go wrong.
#include "tools/tsenv/Commands.h"

#include "help/ConfigLines.h"
#include "platform/common/TextPieces.h"
#include "support/AsciiCase.h"

#include <iostream>
#include <map>
#include <set>

namespace tsenv {
namespace {

namespace help = tsen::help;
using LineCheck = std::function<void(const std::string& at, std::string_view text)>;

struct HelpCheck {
  // The installation's folders, as the library names them.
  std::string app;
  std::string help;
  std::string topics;
  // What the files name: help files (name, "file:line" naming it), domains
  // (folded) and help requests (help name, topic).
  std::vector<std::pair<std::string, std::string>> helpFiles{};
  std::set<std::string> domains{};
  std::set<std::pair<std::string, std::string>> requests{};
  // The findings, each reported once.
  std::vector<std::string> findings{};
  std::set<std::string> reported{};
  int notes = 0;

  void problem(const std::string& where, const std::string& what) {
    if (reported.insert(where + ": " + what).second) {
      findings.push_back(where + ": " + what);
    }
  }
  void note(const std::string& where, const std::string& what) {
    const std::size_t before = findings.size();
    problem(where, "note: " + what);
    notes += static_cast<int>(findings.size() - before);
  }
  // path below the application folder, as the host writes it; with ":line".
  std::string shown(const std::string& path) const {
    const std::string prefix = app + "\\";
    return shownPath(!app.empty() && path.starts_with(prefix) ? path.substr(prefix.size()) : path);
  }
  std::string at(const std::string& file, int line) const {
    return shown(file) + ":" + std::to_string(line);
  }
  // Hands each line of file that the library's reading leaves non-empty to
  // examine with its place, and reports one read in pieces; false when the
  // file does not open.
  bool readLines(const std::string& file, int mode, const LineCheck& examine) {
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
            problem(at(file, number),
                    "longer than 1023 characters: read in pieces, each as a line");
          }
          lineGoesOn = !piece.ends_with('\n');
          return true;
        });
    return read != help::FileSearch::notOpened;
  }
};

// Hands each line with a new key (keyOfLine reports a line without one) to
// use, reports a key seen before with whatWins, and notes a missing file.
template <typename KeyOfLine, typename Use>
void readConfigFile(HelpCheck& check, std::string_view name, int mode, const char* whenMissing,
                    const char* whatWins, KeyOfLine keyOfLine, Use use) {
  const std::string file = help::helpConfigFile(name);
  std::map<std::string, std::string> defined;
  if (!check.readLines(file, mode, [&](const std::string& at, std::string_view text) {
        const auto key = keyOfLine(at, text);
        if (!key) {
          return;
        }
        if (const auto [earlier, isNew] = defined.emplace(*key, at); !isNew) {
          check.problem(at, *key + " again: " + whatWins + " (" + earlier->second + ")");
        } else {
          use(at, text, *key);
        }
      })) {
    check.note(check.shown(file), std::string("not installed: ") + whenMissing);
  }
}

// The "CODE=value" entries behind the domain, each judged by the entry the
// library reads for its code.
void checkExceptionEntries(HelpCheck& check, const std::string& at, std::string_view line) {
  for (const std::string_view entry :
       tsen::platform::splitAt(line.substr(line.find(';') + 1), ';')) {
    const auto equals = entry.find('=');
    if (entry.empty()) {
      continue;
    }
    if (equals == std::string_view::npos) {
      check.problem(at, "entry '" + std::string(entry) +
                            "' has no '=': expected CODE=CHM or CODE=wiki language");
      continue;
    }
    const std::string code(entry.substr(0, equals));
    const std::string_view value = entry.substr(equals + 1);
    // What the library reads for a user whose language code this entry spells.
    const auto read = help::exceptionEntryOf(line, tsen::asciiUpperCopy(code));
    if (read && read->value.data() < value.data() && code == tsen::asciiUpperCopy(code)) {
      check.problem(at, code + " appears twice in the line: the first entry counts");
    } else if (!read || read->value.data() != value.data()) {
      check.problem(at, "language code '" + code +
                            "' never matches: codes are looked for in upper case, directly "
                            "followed by '='");
    } else if (read->exception == help::ExceptionNone) {
      check.problem(at, "value '" + std::string(value) + "' of " + code +
                            " is ignored: values followed by ';' need two characters");
    } else if (value.empty()) {
      check.problem(at, "empty value for " + code);
    }
  }
}

void checkConfigFiles(HelpCheck& check) {
  readConfigFile(
      check, help::kExceptionsFile, help::TrimBoth, "the wiki serves every domain",
      "only its first line is read",
      [&](const std::string& at, std::string_view text) {
        const auto domain = help::keyField(text);
        if (!domain) {
          check.problem(at, "no ';' after the domain: the line is never used");
        }
        return domain;
      },
      [&](const std::string& at, std::string_view text, const std::string& domain) {
        check.domains.insert(domain);
        checkExceptionEntries(check, at, text);
      });
  readConfigFile(
      check, help::kDefaultsFile, help::TrimBoth, "domains have no default help file",
      "the first value wins",
      [&](const std::string& at, std::string_view text) -> std::optional<std::string> {
        const auto key = help::keyField(text);
        const auto rest = text.substr(std::min(text.find(';') + 1, text.size()));
        if (!key) {
          check.problem(at, "no ';' after the key: expected KEY;value;");
        } else if (!help::helpDefaultValue(rest)) {
          check.problem(at, rest.find(';') == std::string_view::npos
                                ? "no ';' after the value: the line gives no value"
                                : "empty value: the line gives no value");
        } else {
          return key;
        }
        return std::nullopt;
      },
      [&](const std::string& at, std::string_view text, const std::string& key) {
        if (key != "WIKI_TOPIC") {
          check.domains.insert(key);
          check.helpFiles.emplace_back(*help::helpDefaultValue(text.substr(text.find(';') + 1)),
                                       at);
        }
      });
  readConfigFile(
      check, help::kMappingFile, help::TrimAll, "the wiki language comes from elsewhere or is en",
      "the first line wins",
      [&](const std::string& at, std::string_view text) -> std::optional<std::string> {
        const auto mapping = help::languageMappingOf(text);
        if (!mapping) {
          check.problem(at, "no '=': expected CODE=wiki language");
        } else if (mapping->foldedCode.empty() || mapping->language.empty()) {
          check.problem(at, mapping->foldedCode.empty() ? "no language code before '='"
                                                        : "no wiki language after '='");
        } else {
          return mapping->foldedCode;
        }
        return std::nullopt;
      },
      [](const std::string&, std::string_view, const std::string&) {});
}

// A plain number that the library reads as written: a sign and leading zeros
// are fine, digits beyond the 32-bit range are not.
bool isNumber(std::string_view text) {
  const long long value = help::readDecimal(text);
  text.remove_prefix(text.starts_with('-') || text.starts_with('+') ? 1 : 0);
  const auto significant = std::min(text.find_first_not_of('0'), text.size() - 1);
  return !text.empty() && text.substr(significant) == std::to_string(value < 0 ? -value : value);
}

// What one folder's files define; the first definition of each wins.
struct FolderTopics {
  std::map<long, std::string> wikiTopics;                                // topic: where
  std::map<std::pair<std::string, std::string>, std::string> helpTopics; // (help name, topic)
};

template <typename Key>
void remember(HelpCheck& check, std::map<Key, std::string>& defined, const Key& key,
              const std::string& at, const std::string& what) {
  if (const auto [earlier, isNew] = defined.emplace(key, at); !isNew) {
    check.problem(at, what + " is defined again: " + earlier->second +
                          " wins (the first in listing order, then from the top, wins)");
  }
}

void checkLine(HelpCheck& check, const std::string& at, std::string_view line,
               FolderTopics& topics) {
  help::TopicLine fields;
  // As the wiki reads it: without a second ';' the page runs to the end.
  if (!help::splitTopicLine(line, true, fields)) {
    check.problem(at, "no ';': expected topic;wiki page;help topics;help file;");
    return;
  }
  const long topic = help::readDecimal(fields.topic);
  if (!isNumber(fields.topic)) {
    check.problem(at, "topic '" + std::string(fields.topic) + "' is not a number: read as " +
                          std::to_string(topic));
  }
  if (fields.page.empty()) {
    check.problem(at, "no wiki page: the line is passed over");
  }
  if (std::ranges::count(line, ';') == 2 && !line.ends_with(';')) {
    check.problem(at, "'" + std::string(line.substr(line.rfind(';') + 1)) +
                          "' after the page is ignored: it needs a closing ';' and a help file "
                          "name");
  }
  std::vector<std::string_view> items;
  for (std::string_view rest = fields.helpTopics; !rest.empty();) {
    items.push_back(rest.substr(0, rest.find(',')));
    rest.remove_prefix(std::min(rest.size(), items.back().size() + 1));
    if (!isNumber(items.back())) {
      check.problem(at, "help topic '" + std::string(items.back()) + "' is not a number");
    }
  }
  if (fields.helpTopics.empty() != fields.helpName.empty()) {
    check.problem(at, std::string("help ") +
                          (fields.helpName.empty() ? "topics without a help file name"
                                                   : "file without help topics") +
                          ": only the wiki uses this line");
  }
  if (!fields.topic.empty() && !fields.page.empty()) {
    remember(check, topics.wikiTopics, topic, at, "topic " + std::to_string(topic));
  }
  if (!fields.hasAllFields()) {
    return;
  }
  const std::string helpName(fields.helpName);
  check.helpFiles.emplace_back(helpName, at);
  for (const std::string_view item : items) {
    remember(check, topics.helpTopics, {tsen::asciiUpperCopy(helpName), std::string(item)}, at,
             "help topic " + std::string(item) + " of " + helpName);
    if (isNumber(item)) {
      check.requests.emplace(helpName, item);
    }
  }
}

FolderTopics checkFolder(HelpCheck& check, const std::string& folder) {
  FolderTopics topics;
  help::searchFolder(folder, [&](const std::string& file) {
    check.readLines(file, help::TrimAll, [&](const std::string& at, std::string_view text) {
      checkLine(check, at, text, topics);
    });
    return false;
  });
  return topics;
}

std::vector<std::string> checkTopicFiles(HelpCheck& check) {
  std::error_code error;
  if (!std::filesystem::is_directory(shownPath(check.topics), error)) {
    check.note(check.shown(check.topics), "not installed: no topic has a wiki page");
    return {};
  }
  const FolderTopics common = checkFolder(check, check.topics);
  std::vector<std::string> domains;
  for (const auto& entry : std::filesystem::directory_iterator(shownPath(check.topics), error)) {
    if (!entry.is_directory(error)) {
      continue;
    }
    const std::string domain = domains.emplace_back(entry.path().filename().string());
    for (const auto& [topic, at] : checkFolder(check, check.topics + "\\" + domain).wikiTopics) {
      if (const auto overridden = common.wikiTopics.find(topic);
          overridden != common.wikiTopics.end()) {
        check.note(at, "topic " + std::to_string(topic) + " overrides " + overridden->second +
                           " while the active domain is " + domain);
      }
    }
  }
  return domains;
}

// Each help file once, in the first place that names it, in English and in
// every language folder below Help (every folder but the topic folder).
void checkCompiledHelpFiles(HelpCheck& check) {
  std::vector<std::string> languages;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(shownPath(check.help), error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory(error) &&
        !tsen::asciiEqualNoCase(check.topics, check.help + "\\" + name) && name != "Eng") {
      languages.push_back(name);
    }
  }
  std::set<std::string> checked;
  for (const auto& helpFile : check.helpFiles) {
    const std::string& name = helpFile.first;
    if (!checked.insert(name).second) {
      continue;
    }
    const auto path = [&](const std::string& code) {
      return help::compiledHelpFile("Help\\" + code + "\\", name);
    };
    const std::string what = "missing (named by " + helpFile.second + ")";
    const bool english = TsEnFileExist(path("Eng"), false);
    if (!english) {
      check.problem(check.shown(path("Eng")), what + ": no language can fall back to it");
    }
    for (const std::string& code : languages) {
      if (!TsEnFileExist(path(code), false)) {
        english ? check.note(check.shown(path(code)), what + ": " + code + " users get English")
                : check.problem(check.shown(path(code)), what);
      }
    }
  }
}

} // namespace

void addHelpCheckCommand(CLI::App& app, Runner& runner) {
  CLI::App* command =
      app.add_subcommand("help-check", "Check the installed help configuration files");
  command->footer("Reads the help configuration and topic files as the library does, tells what "
                  "help opens for each topic they name, and reports what would go wrong there "
                  "(file:line). Exit status 1 when a problem is found; notes alone leave it 0.");
  runs(command, runner, [] {
    HelpCheck check{TsEnGetAppPath(), TsEnBuildFilename("<APPATH>\\Help", TsEnBaseNone, 0),
                    help::topicFolder()};
    if (check.app.empty() || !TsEnFileExist(check.help, false)) {
      check.problem(shownPath(check.help),
                    check.app.empty() ? "no application folder: the library is not in a Binaries "
                                        "folder"
                                      : "no Help folder");
    } else {
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
    std::cout << "Help folder: " << shownPath(check.help) << '\n';
    for (const auto& [name, topic] : check.requests) {
      std::string opened; // what TsEnHelp opens, described on one line
      describeActions(&opened);
      TsEnHelp(std::stoi(topic), name);
      std::cout << "help " << topic << ' ' << name << ": " << opened << '\n';
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
