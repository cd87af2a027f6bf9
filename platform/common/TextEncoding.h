// Text conversions for the registry file. The host's 8-bit text is UTF-8; bytes
// that are not valid UTF-8 travel through UTF-16 as unpaired surrogates
// U+DC80..U+DCFF and come back unchanged.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace tsen::platform {

// The code point of the well-formed UTF-8 sequence at the start of text and
// its length; length 0 when there is none (overlong forms, surrogates and
// values past U+10FFFF are not well formed).
std::pair<char32_t, std::size_t> leadingCodePoint(std::string_view text);

// UTF-16LE as bytes, the form of string data in Windows' registry files, and
// back (an odd last byte, which is no UTF-16 at all, kept as it is).
std::string toUtf16LeBytes(std::string_view text);
std::string fromUtf16LeBytes(std::string_view bytes);

// Told by the byte order mark; without one the bytes are taken as they are.
enum class FileEncoding { eightBit, utf8WithBom, utf16Le };
FileEncoding encodingOf(std::string_view fileBytes);
std::string_view byteOrderMark(FileEncoding encoding);

std::string fromWindows1252(std::string_view bytes);

// Text in the file's encoding, without a byte order mark, and back.
std::string encodeText(std::string_view text, FileEncoding encoding);
std::string decodeText(std::string_view bytes, FileEncoding encoding);

} // namespace tsen::platform
