#include "platform/common/RegistryTree.h"
#include "platform/common/TextEncoding.h"

namespace tsen::platform {

namespace {

// The next character of UTF-8 text, taken off its front; a byte that starts
// no well-formed sequence stands for itself, apart from every character.
char32_t nextCharacter(std::string_view& text) {
  const auto [character, length] = leadingCodePoint(text);
  const auto lead = static_cast<unsigned char>(text[0]);
  text.remove_prefix(std::max<std::size_t>(length, 1));
  return length > 0 ? character : 0x110000 + lead;
}

// The upper-case letter of c in the alphabets a setting's name is written in
// (Latin, Greek, Cyrillic), as the registry compares names.
char32_t upper(char32_t c) {
  const auto inRange = [c](char32_t first, char32_t last) { return c >= first && c <= last; };
  if (inRange(U'a', U'z') || (inRange(0xE0, 0xFE) && c != 0xF7) || inRange(0x3B1, 0x3CB) ||
      inRange(0x430, 0x44F)) {
    return c == 0x3C2 ? c : c - 0x20;
  }
  if (c == 0xFF) {
    return 0x178;
  }
  if (inRange(0x450, 0x45F)) {
    return c - 0x50;
  }
  // Latin Extended-A pairs: upper case on the even code, or on the odd one
  // in the two runs that start one later.
  const bool oddUpper = inRange(0x139, 0x148) || inRange(0x179, 0x17E);
  if ((inRange(0x100, 0x137) || inRange(0x14A, 0x177) || oddUpper) && (c % 2 == 0) == oddUpper) {
    return c - 1;
  }
  return c;
}

int compareNames(std::string_view a, std::string_view b) {
  while (!a.empty() && !b.empty()) {
    const char32_t x = upper(nextCharacter(a));
    const char32_t y = upper(nextCharacter(b));
    if (x != y) {
      return x < y ? -1 : 1;
    }
  }
  return a.empty() ? (b.empty() ? 0 : -1) : 1;
}

} // namespace

bool nameLess(std::string_view a, std::string_view b) {
  return compareNames(a, b) < 0;
}

bool sameName(std::string_view a, std::string_view b) {
  return compareNames(a, b) == 0;
}

} // namespace tsen::platform
