#include "platform/portable/TextEncoding.h"

#include <cstdint>

namespace tsen::platform::portable {

namespace {

constexpr char16_t kEscapedByteBase = 0xDC00;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool isContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
  return byte >= low && byte <= high;
}

// The length of the valid UTF-8 sequence at the start of text, 0 if none.
// Overlong forms, surrogates and values past U+10FFFF are not valid.
std::size_t validSequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    return text.size() >= 2 && isContinuation(byte(1)) ? 2 : 0;
  }
  if (lead >= 0xE0 && lead <= 0xEF) {
    const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
    return text.size() >= 3 && isContinuation(byte(1), low, high) && isContinuation(byte(2)) ? 3
                                                                                             : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
    return text.size() >= 4 && isContinuation(byte(1), low, high) && isContinuation(byte(2)) &&
                   isContinuation(byte(3))
               ? 4
               : 0;
  }
  return 0;
}

void appendCodePoint(std::string& out, std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

std::u16string unitsFromBytes(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return units;
}

std::string bytesFromUnits(std::u16string_view units, bool bigEndian) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    const auto low = static_cast<char>(unit & 0xFF);
    const auto high = static_cast<char>(unit >> 8);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

} // namespace

std::u16string toUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = validSequenceLength(text);
    if (length == 0) {
      out += static_cast<char16_t>(kEscapedByteBase + static_cast<unsigned char>(text[0]));
      text.remove_prefix(1);
      continue;
    }
    std::uint32_t codePoint = static_cast<unsigned char>(text[0]);
    if (length > 1) {
      codePoint &= 0x3Fu >> (length - 1);
      for (std::size_t i = 1; i < length; ++i) {
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
      }
    }
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
      out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    } else {
      out += static_cast<char16_t>(codePoint);
    }
    text.remove_prefix(length);
  }
  return out;
}

std::string fromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      appendCodePoint(out, 0x10000 + ((unit - 0xD800u) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else if (unit >= kEscapedByteBase + 0x80 && unit <= kEscapedByteBase + 0xFF) {
      out += static_cast<char>(unit - kEscapedByteBase);
    } else {
      appendCodePoint(out, unit); // lone surrogates other than escapes as they are
    }
  }
  return out;
}

std::string toUtf16LeBytes(std::string_view text) {
  return bytesFromUnits(toUtf16(text), false);
}

std::string fromUtf16LeBytes(std::string_view bytes) {
  std::string text = fromUtf16(unitsFromBytes(bytes, false));
  if (bytes.size() % 2 != 0) {
    text += bytes.back();
  }
  return text;
}

DecodedFile decodeFile(std::string_view bytes) {
  DecodedFile decoded;
  if (bytes.starts_with(kUtf8Bom)) {
    decoded.encoding = FileEncoding::utf8WithBom;
    decoded.text = bytes.substr(kUtf8Bom.size());
  } else if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom)) {
    const bool bigEndian = bytes.starts_with(kUtf16BeBom);
    decoded.encoding = bigEndian ? FileEncoding::utf16Be : FileEncoding::utf16Le;
    bytes.remove_prefix(2);
    decoded.text = fromUtf16(unitsFromBytes(bytes, bigEndian));
    if (bytes.size() % 2 != 0) {
      decoded.strayByte = bytes.back();
    }
  } else {
    decoded.text = bytes;
  }
  return decoded;
}

std::string encodeFile(std::string_view text, FileEncoding encoding, std::string_view strayByte) {
  switch (encoding) {
  case FileEncoding::utf8WithBom:
    return std::string(kUtf8Bom) + std::string(text);
  case FileEncoding::utf16Le:
    return std::string(kUtf16LeBom) + bytesFromUnits(toUtf16(text), false) + std::string(strayByte);
  case FileEncoding::utf16Be:
    return std::string(kUtf16BeBom) + bytesFromUnits(toUtf16(text), true) + std::string(strayByte);
  case FileEncoding::eightBit:
    break;
  }
  return std::string(text);
}

} // namespace tsen::platform::portable
