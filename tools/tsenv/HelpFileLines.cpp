#include "tools/tsenv/HelpFileLines.h"

#include <fstream>
#include <iterator>

namespace tsenv {

namespace {

constexpr std::size_t kLongestPiece = 1023; // fgets into 1024 characters

// The bytes as the C runtime's text mode hands them out.
std::string asTextMode(std::string bytes) {
  if (const auto end = bytes.find('\x1A'); end != std::string::npos) {
    bytes.erase(end);
  }
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
      text += bytes[i];
    }
  }
  return text;
}

} // namespace

std::string_view trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string prepareLine(std::string_view piece, Blanks blanks) {
  piece = piece.substr(0, piece.find("//"));
  std::string prepared;
  for (const char c : piece) {
    const char blankOrChar = c == '\t' || c == '\n' ? ' ' : c;
    if (blanks == Blanks::trimEnds || blankOrChar != ' ') {
      prepared += blankOrChar;
    }
  }
  return blanks == Blanks::trimEnds ? std::string(trimBlanks(prepared)) : prepared;
}

std::optional<std::vector<HelpLine>> readHelpFile(const std::filesystem::path& path,
                                                  Blanks blanks) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return std::nullopt;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  const std::string text =
      asTextMode({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
  std::vector<HelpLine> lines;
  int number = 1;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t lineEnd = text.find('\n', at);
    const std::size_t lineLength = (lineEnd == std::string::npos ? text.size() : lineEnd + 1) - at;
    const bool longLine = lineLength - (lineEnd == std::string::npos ? 0 : 1) > kLongestPiece;
    for (std::size_t done = 0; done < lineLength;) {
      const std::size_t pieceLength = std::min(kLongestPiece, lineLength - done);
      lines.push_back({number,
                       prepareLine(std::string_view(text).substr(at + done, pieceLength), blanks),
                       longLine && done == 0});
      done += pieceLength;
    }
    at += lineLength;
    ++number;
  }
  return lines;
}

} // namespace tsenv
