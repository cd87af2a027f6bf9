#include "platform/common/RegValueText.h"

#include "platform/Platform.h"
#include "platform/common/TextEncoding.h"
#include "platform/common/TextPieces.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace tsen::platform {

namespace {

constexpr std::size_t kWrapColumn = 77;

// Reads a quoted text at the start of text ("..." with \\ and \" escapes);
// text is left after the closing quotation mark.
std::optional<std::string> readQuoted(std::string_view& text) {
  if (!text.starts_with('"')) {
    return std::nullopt;
  }
  std::string unquoted;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      text.remove_prefix(i + 1);
      return unquoted;
    }
    if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
      ++i;
    }
    unquoted += text[i];
  }
  return std::nullopt;
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') {
      out += '\\';
    }
    out += c;
  }
  return out + '"';
}

// Reads the value's name and the "=" after it; text is left at the data.
std::optional<std::string> readName(std::string_view& text) {
  const bool isDefault = text.starts_with('@');
  text.remove_prefix(isDefault ? 1 : 0);
  auto name = isDefault ? std::optional<std::string>("") : readQuoted(text);
  text = trimLeft(text);
  if (!name || !text.starts_with('=')) {
    return std::nullopt;
  }
  text = trimLeft(text.substr(1));
  return name;
}

template <class Number> std::optional<Number> parseHex(std::string_view digits) {
  Number number{};
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
  if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size()) {
    return std::nullopt;
  }
  return number;
}

// "01,ff,0a" as bytes: a trailing comma allowed, no blanks, as regedit reads them.
std::optional<std::string> parseHexBytes(std::string_view text) {
  std::string bytes;
  text = trimRight(text);
  text.remove_suffix(text.ends_with(',') ? 1 : 0);
  for (const std::string_view digits : splitAt(text, ',')) {
    // from_chars takes no blank and no sign.
    const auto byte = digits.size() <= 2 ? parseHex<unsigned>(digits) : std::nullopt;
    if (!byte) {
      return text.empty() ? std::optional(bytes) : std::nullopt;
    }
    bytes += static_cast<char>(*byte);
  }
  return bytes;
}

// The data before a comment (" ; ...") that follows it on its line.
std::string_view withoutComment(std::string_view data) {
  return trimRight(data.substr(0, data.find(';')));
}

bool holdsUtf16InVersion5(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::optional<RegistryValue> parseData(std::string_view data, RegFileDialect dialect,
                                       FileEncoding encoding) {
  if (data.starts_with('"')) {
    const auto text = readQuoted(data);
    const bool alone = text && withoutComment(data).empty();
    return alone ? std::optional(RegistryValue{kRegSz, *text + '\0'}) : std::nullopt;
  }
  data = withoutComment(data);
  // Type tags in lower case only: regedit takes "DWORD:" for no data at all.
  if (data.starts_with("dword:")) {
    const std::string_view digits = trim(data.substr(6));
    const auto number = digits.size() <= 8 ? parseHex<std::uint32_t>(digits) : std::nullopt;
    return number ? std::optional(RegistryValue{kRegDword, dwordBytes(*number)}) : std::nullopt;
  }
  // "hex:" or "hex(N):", then the bytes.
  const auto colon = data.find(':');
  if (!data.starts_with("hex") || colon == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view tag = data.substr(3, colon - 3);
  const auto type = tag.empty() ? std::optional(kRegBinary)
                    : tag.size() > 2 && tag.starts_with('(') && tag.ends_with(')')
                        ? parseHex<std::uint32_t>(tag.substr(1, tag.size() - 2))
                        : std::nullopt;
  auto bytes = type ? parseHexBytes(data.substr(colon + 1)) : std::nullopt;
  if (!bytes) {
    return std::nullopt;
  }
  if (holdsUtf16InVersion5(*type)) {
    *bytes = dialect == RegFileDialect::version5 ? fromUtf16LeBytes(*bytes)
                                                 : decodeText(*bytes, encoding);
  }
  return RegistryValue{*type, std::move(*bytes)};
}

// Text that "..." can carry: one terminating zero, no other, no line break.
bool isPlainString(const RegistryValue& value) {
  const std::string_view data = value.data;
  return value.type == kRegSz && data.ends_with('\0') &&
         data.find_first_of(std::string_view("\0\r\n", 3)) == data.size() - 1;
}

} // namespace

bool continuesOnNextLine(std::string_view line) {
  line = trim(line);
  return line.ends_with('\\') && readName(line) && line.starts_with("hex");
}

std::optional<ValueAssignment> parseAssignment(std::string_view text, RegFileDialect dialect,
                                               FileEncoding encoding) {
  auto name = readName(text);
  const bool deletes = name && trim(text) == "-";
  auto value = name && !deletes ? parseData(text, dialect, encoding) : std::nullopt;
  if (!deletes && !value) {
    return std::nullopt;
  }
  return ValueAssignment{std::move(*name), std::move(value)};
}

std::string formatValueName(std::string_view name) {
  return name.empty() ? std::string("@") : quoted(name);
}

std::vector<std::string> formatAssignment(std::string_view name, const RegistryValue& value,
                                          RegFileDialect dialect) {
  std::string line = formatValueName(name) + '=';
  if (isPlainString(value)) {
    return {line + quoted(std::string_view(value.data).substr(0, value.data.size() - 1))};
  }
  char text[32];
  if (value.type == kRegDword && value.data.size() == 4) {
    const auto byte = [&](int i) { return static_cast<unsigned char>(value.data[i]); };
    std::snprintf(text, sizeof text, "dword:%02x%02x%02x%02x", byte(3), byte(2), byte(1), byte(0));
    return {line + text};
  }
  const std::string bytes = dialect == RegFileDialect::version5 && holdsUtf16InVersion5(value.type)
                                ? toUtf16LeBytes(value.data)
                                : value.data;
  std::snprintf(text, sizeof text, "hex(%x):", static_cast<unsigned>(value.type));
  line += value.type == kRegBinary ? "hex:" : text;
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(text, sizeof text, i + 1 < bytes.size() ? "%02x," : "%02x",
                  static_cast<unsigned char>(bytes[i]));
    if (line.size() + std::strlen(text) > kWrapColumn) {
      lines.push_back(line + '\\');
      line = "  ";
    }
    line += text;
  }
  lines.push_back(line);
  return lines;
}

} // namespace tsen::platform
