// help-check: the installed help configuration, read line by line with the
// library's own reading, and what would make help go wrong. Each finding is
// reported once.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tsenv {

class Findings {
public:
  void problem(const std::string& where, const std::string& what) {
    add(where + ": " + what, false);
  }
  void note(const std::string& where, const std::string& what) {
    add(where + ": note: " + what, true);
  }
  const std::vector<std::string>& lines() const { return lines_; }
  int problems() const { return static_cast<int>(lines_.size()) - notes_; }
  int notes() const { return notes_; }

private:
  void add(std::string line, bool note) {
    if (seen_.insert(line).second) {
      lines_.push_back(std::move(line));
      notes_ += note ? 1 : 0;
    }
  }
  std::vector<std::string> lines_;
  std::set<std::string> seen_;
  int notes_ = 0;
};

// The installation's help folders, named by the library.
struct HelpFolders {
  std::string app;
  std::string help;
  std::string topics;

  static HelpFolders fromLibrary();
  // path below the application folder, as the host writes it.
  std::string shown(const std::string& path) const;
  std::string at(const std::string& file, int line) const {
    return shown(file) + ":" + std::to_string(line);
  }
};

// Hands each line of file as the library reads it (pieces of at most 1023
// characters, prepared with mode: tsen::help::TrimBoth or TrimAll) to
// examine with its line number; empty lines are passed over, a longer line
// is reported. False when the file does not open.
bool readHelpLines(const HelpFolders& folders, const std::string& file, int mode,
                   Findings& findings,
                   const std::function<void(int line, std::string_view text)>& examine);

struct NamedHelpFile {
  std::string name;    // the help name, without .chm
  std::string namedBy; // "file:line"
};

struct ConfigSummary {
  std::set<std::string> domains; // folded, from the exceptions and defaults files
  std::vector<NamedHelpFile> helpFiles;
};

// The exceptions, defaults and language mapping files.
ConfigSummary checkConfigFiles(const HelpFolders& folders, Findings& findings);

// The help requests the topic files name: (help name, help topic).
using HelpRequests = std::set<std::pair<std::string, std::string>>;

// Every topic file of the topic folder and its domain folders; adds the help
// files their lines name to helpFiles and the requests to requests. Answers
// the domain folders found.
std::vector<std::string> checkTopicFiles(const HelpFolders& folders,
                                         std::vector<NamedHelpFile>& helpFiles,
                                         HelpRequests& requests, Findings& findings);

} // namespace tsenv
