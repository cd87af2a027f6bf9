// The line rules shared by the help file readers, and their reading loop.
#pragma once

#include "help/HelpInternal.h"
#include "platform/Platform.h"
#include "support/TextLines.h"

#include <optional>
#include <string>
#include <string_view>

namespace tsen::help {

// Prepares a line read from a help file into prepared: cut at the first "//",
// tabs and line feeds made blanks, then blanks (0x20) cut at both ends
// (TrimBoth) or removed (TrimAll).
enum TrimMode : int { TrimBoth = 0, TrimAll = 3 };
void PrepareConfigLine(std::string_view line, int mode, std::string& prepared);
// Whether a character stays in a line prepared with TrimAll.
inline bool keptByTrimAll(char c) {
  return c != ' ' && c != '\t' && c != '\n';
}

enum class FileSearch {
  notOpened, // the file does not exist or cannot be read
  noMatch,   // no line matched
  found,     // a line matched; the rest of the file was not read
};

// Reads the file at path line by line, prepares each line with mode and hands
// it to examine until examine answers true. A line that mayMatch turns down
// as it was read is passed over without being prepared.
template <typename Examine, typename MayMatch = bool (*)(std::string_view)>
FileSearch searchConfigFile(
    const std::string& path, int mode, Examine examine,
    MayMatch mayMatch = [](std::string_view) { return true; }) {
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

// The field before a line's first ';', trimmed and upper-cased as keys are
// compared; nothing for a line without ';'.
std::optional<std::string> keyField(std::string_view line);

// What each configuration file's line gives, as the readers take it.
struct ExceptionEntry {
  std::string_view value; // within the line
  int exception;          // ExceptionNone when the value is not used
};
// The entry of an exceptions line that serves foldedCode: the first
// "CODE=" anywhere in the line, its value running to the next ';'.
std::optional<ExceptionEntry> exceptionEntryOf(std::string_view line, std::string_view foldedCode);
// A defaults line's value from the rest after its key field; nothing when
// none is given.
std::optional<std::string> helpDefaultValue(std::string_view afterKey);
struct LanguageMapping {
  std::string foldedCode;
  std::string_view language;
};
// A mapping line "CODE=language"; nothing without '='.
std::optional<LanguageMapping> languageMappingOf(std::string_view line);

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

// A topic file line: "topic;wiki page;help topics;help name;"
struct TopicLine {
  std::string_view topic;
  std::string_view page;
  std::string_view helpTopics;
  std::string_view helpName;

  bool hasAllFields() const {
    return !topic.empty() && !page.empty() && !helpTopics.empty() && !helpName.empty();
  }
};

// Splits a prepared line; false for a line without any ";". Without a ";"
// behind the page, the page runs to the end of the line when pageToEnd is
// set and is empty otherwise.
bool splitTopicLine(std::string_view line, bool pageToEnd, TopicLine& fields);

// Reads a decimal number as the C runtime's atol does on Windows: leading
// white space, a sign, digits up to the first other character, 0 without
// digits; numbers outside 32 bits saturate.
long readDecimal(std::string_view text);

} // namespace tsen::help
