#include "expansion/TextHelpers.h"

#include "support/AsciiCase.h"
#include "support/FormatLimited.h"

#include <algorithm>
#include <cstdarg>

namespace tsen {

std::string FormatText(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = formatLimited(1024, format, arguments);
  va_end(arguments);
  return text;
}

char UpperCaseChar(char c) {
  switch (static_cast<unsigned char>(c)) {
  case 0xE4:
    return '\xC4';
  case 0xE5:
    return '\xC5';
  case 0xE6:
    return '\xC6';
  case 0xF6:
    return '\xD6';
  case 0xF8:
    return '\xD8';
  default:
    return asciiUpper(c);
  }
}

std::string UpperCaseCopy(const std::string& text) {
  std::string copy(text.size(), '\0');
  std::transform(text.begin(), text.end(), copy.begin(), UpperCaseChar);
  return copy;
}

} // namespace tsen
