// Reading a help configuration or topic file line by line with the library's
// rules: text mode (CR LF read as LF, Ctrl-Z ends the file), pieces of at
// most 1023 characters, "//" starting a comment, tabs and line feeds read as
// blanks, then blanks trimmed at both ends or removed everywhere.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsenv {

enum class Blanks { trimEnds, removeAll };

struct HelpLine {
  int number = 0;               // the line in the file, from 1; pieces of one line share it
  std::string prepared;         // after comment, tab and blank handling
  bool firstOfLongLine = false; // the first piece of a line longer than 1023 characters
};

// Nothing when the file does not open (a folder does not open either).
std::optional<std::vector<HelpLine>> readHelpFile(const std::filesystem::path& path, Blanks blanks);

// What the library does to one piece of a line.
std::string prepareLine(std::string_view piece, Blanks blanks);

// Blanks (only 0x20) removed at both ends.
std::string_view trimBlanks(std::string_view text);

} // namespace tsenv
