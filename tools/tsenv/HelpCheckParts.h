// The pieces of the help check: one per kind of file. Each adds what it
// finds to findings and tells the later checks what the files name.
#pragma once

#include "tools/tsenv/HelpCheck.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tsenv {

class Findings {
public:
  void problem(std::string where, std::string what) {
    list_.push_back({Finding::Severity::problem, std::move(where), std::move(what)});
  }
  void note(std::string where, std::string what) {
    list_.push_back({Finding::Severity::note, std::move(where), std::move(what)});
  }
  std::vector<Finding> take() { return std::move(list_); }

private:
  std::vector<Finding> list_;
};

// "file:line" for messages.
std::string lineWhere(const HelpInstallation& installation, const std::string& file, int line);

struct NamedHelpFile {
  std::string name;    // the help name, without .chm
  std::string namedBy; // "file:line"
};

struct ConfigSummary {
  std::set<std::string> exceptionDomains; // folded
  std::set<std::string> defaultDomains;   // folded
  std::vector<NamedHelpFile> helpFiles;
};

// The exceptions, defaults and language mapping files.
ConfigSummary checkConfigFiles(const HelpInstallation& installation, Findings& findings);

// Every topic file of the topic folder and its domain folders; adds the help
// files their lines name to helpFiles. Answers the domain folders found.
std::vector<std::string> checkTopicFiles(const HelpInstallation& installation,
                                         std::vector<NamedHelpFile>& helpFiles, Findings& findings);

} // namespace tsenv
