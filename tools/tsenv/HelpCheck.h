// Checks the installed help configuration the way the library reads it and
// reports what would make help go wrong.
#pragma once

#include <string>
#include <vector>

namespace tsenv {

struct Finding {
  enum class Severity { problem, note };
  Severity severity = Severity::problem;
  std::string where; // "Help\WikiCfg\general.cfg:3", or a file or folder
  std::string what;
};

// The installation's help files, named as the library names them.
struct HelpInstallation {
  std::string appFolder;  // TsEnGetAppPath
  std::string helpFolder; // <APPATH>\Help
  std::string exceptionsFile;
  std::string defaultsFile;
  std::string mappingFile;
  std::string topicFolder; // <APPATH>\Help\WikiCfg

  static HelpInstallation fromLibrary();
  // path relative to the application folder, for messages.
  std::string shown(const std::string& path) const;
};

// Malformed lines, keys and topics defined twice (and which one wins),
// domain folders no configuration line names, compiled help files named but
// not installed.
std::vector<Finding> checkHelp(const HelpInstallation& installation);

} // namespace tsenv
