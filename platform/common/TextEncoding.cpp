#include "platform/common/TextEncoding.h"

#include <array>
#include <cstdint>
#include <utility>

namespace tsen::platform {

namespace {

constexpr char16_t kEscapedByteBase = 0xDC00;
constexpr std::array<std::string_view, 3> kByteOrderMarks = {"", "\xEF\xBB\xBF", "\xFF\xFE"};
// The characters of bytes 0x80..0x9F; the five the code page leaves open
// stand for the control characters of the same number.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021, 0x2C6,  0x2030, 0x160,
    0x2039, 0x152,  0x8D,   0x17D,  0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
    return;
  }
  const int continuations = codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
  out += static_cast<char>((0xFF00u >> (continuations + 1)) | (codePoint >> (6 * continuations)));
  for (int shift = 6 * (continuations - 1); shift >= 0; shift -= 6) {
    out += static_cast<char>(0x80 | ((codePoint >> shift) & 0x3F));
  }
}

void appendUnit(std::string& bytes, char16_t unit) {
  bytes += static_cast<char>(unit & 0xFF);
  bytes += static_cast<char>(unit >> 8);
}

} // namespace

std::pair<char32_t, std::size_t> leadingCodePoint(std::string_view text) {
  constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC0 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF8 ? 4
                                           : 0;
  if (length == 0 || text.size() < length) {
    return {0, 0};
  }
  char32_t codePoint = length == 1 ? lead : lead & (0x7Fu >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) {
      return {0, 0};
    }
    codePoint = (codePoint << 6) | (next & 0x3Fu);
  }
  const bool valid = codePoint >= kSmallest[length] && codePoint <= 0x10FFFF &&
                     (codePoint < 0xD800 || codePoint > 0xDFFF);
  return {codePoint, valid ? length : 0};
}

std::string toUtf16LeBytes(std::string_view text) {
  std::string bytes;
  while (!text.empty()) {
    auto [codePoint, length] = leadingCodePoint(text);
    if (length == 0) {
      appendUnit(bytes,
                 static_cast<char16_t>(kEscapedByteBase + static_cast<unsigned char>(text[0])));
      length = 1;
    } else if (codePoint >= 0x10000) {
      appendUnit(bytes, static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
      appendUnit(bytes, static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
      appendUnit(bytes, static_cast<char16_t>(codePoint));
    }
    text.remove_prefix(length);
  }
  return bytes;
}

std::string fromUtf16LeBytes(std::string_view bytes) {
  const auto unitAt = [&](std::size_t i) -> char16_t {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 (static_cast<unsigned char>(bytes[i + 1]) << 8));
  };
  std::string text;
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char16_t unit = unitAt(i);
    const char16_t next = i + 3 < bytes.size() ? unitAt(i + 2) : 0;
    if (unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
      appendUtf8(text, 0x10000 + ((unit - 0xD800u) << 10) + (next - 0xDC00u));
      i += 2;
    } else if (unit >= kEscapedByteBase + 0x80 && unit <= kEscapedByteBase + 0xFF) {
      text += static_cast<char>(unit - kEscapedByteBase);
    } else {
      appendUtf8(text, unit); // other lone surrogates as they are
    }
  }
  if (i < bytes.size()) {
    text += bytes[i];
  }
  return text;
}

std::string fromWindows1252(std::string_view bytes) {
  std::string text;
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    appendUtf8(text, code >= 0x80 && code < 0xA0 ? kWindows1252High[code - 0x80] : code);
  }
  return text;
}

FileEncoding encodingOf(std::string_view fileBytes) {
  for (const auto encoding : {FileEncoding::utf16Le, FileEncoding::utf8WithBom}) {
    if (fileBytes.starts_with(byteOrderMark(encoding))) {
      return encoding;
    }
  }
  return FileEncoding::eightBit;
}

std::string_view byteOrderMark(FileEncoding encoding) {
  return kByteOrderMarks.at(static_cast<std::size_t>(encoding));
}

std::string encodeText(std::string_view text, FileEncoding encoding) {
  return encoding == FileEncoding::utf16Le ? toUtf16LeBytes(text) : std::string(text);
}

std::string decodeText(std::string_view bytes, FileEncoding encoding) {
  return encoding == FileEncoding::utf16Le ? fromUtf16LeBytes(bytes) : std::string(bytes);
}

} // namespace tsen::platform
