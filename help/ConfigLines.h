// The reading loop shared by every help file reader.
#pragma once

#include "help/HelpInternal.h"
#include "platform/Platform.h"
#include "support/TextLines.h"

#include <string>

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
  TextLines lines(path);
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

// A help configuration file below the application's Help folder.
std::string helpConfigFile(std::string_view fileName);

} // namespace tsen::help
