// The reading loop shared by every help file reader.
#pragma once

#include "help/HelpInternal.h"
#include "platform/Platform.h"
#include "support/TextLines.h"

#include <optional>
#include <string>
#include <string_view>

namespace tsen::help {

enum class FileSearch {
  notOpened, // the file does not exist or cannot be read
  noMatch,   // no line matched
  found,     // a line matched; the rest of the file was not read
};

// Reads the file at path line by line, prepares each line with mode and hands
// it to examine until examine answers true. A line that mayMatch turns down
// as it was read is passed over without being prepared.
template <typename Examine, typename MayMatch>
FileSearch searchConfigFile(const std::string& path, int mode, Examine examine, MayMatch mayMatch) {
  TextLines lines(platform::openFile(path, "rb"));
  if (!lines.isOpen()) {
    return FileSearch::notOpened;
  }
  std::string_view line;
  std::string prepared;
  while (lines.next(line)) {
    if (!mayMatch(line)) {
      continue;
    }
    PrepareConfigLine(line, mode, prepared);
    if (examine(std::string_view(prepared))) {
      return FileSearch::found;
    }
  }
  return FileSearch::noMatch;
}

template <typename Examine>
FileSearch searchConfigFile(const std::string& path, int mode, Examine examine) {
  return searchConfigFile(path, mode, examine, [](std::string_view) { return true; });
}

// The part of line after its first ';' when the field before it, trimmed
// and upper-cased, is foldedKey (itself upper-case); nullopt otherwise.
std::optional<std::string_view> afterKeyField(std::string_view line, std::string_view foldedKey);

// The help configuration files below the application's Help folder.
inline constexpr std::string_view kExceptionsFile = "Tessaline_Wiki_Exeptions.cfg";
inline constexpr std::string_view kDefaultsFile = "Tessaline_Help_Defaults.cfg";
inline constexpr std::string_view kMappingFile = "Tessaline_Wiki_Help_Language_Mapping.cfg";
std::string helpConfigFile(std::string_view fileName);

// The folder of the topic files, "<APPATH>\Help\WikiCfg"; each domain may
// have a folder of its own below it.
std::string topicFolder();

// The compiled help file helpName in languageFolder ("Help\Eng\") below
// the application folder.
std::string compiledHelpFile(const std::string& languageFolder, const std::string& helpName);

} // namespace tsen::help
