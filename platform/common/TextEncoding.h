// Text conversions for the registry file. The host's 8-bit text is UTF-8;
// bytes that are not valid UTF-8 travel through UTF-16 as unpaired
// surrogates U+DC80..U+DCFF and come back unchanged, so nothing given as
// 8-bit text is lost on the way through a UTF-16 file or value.
#pragma once

#include <string>
#include <string_view>

namespace tsen::platform {

// UTF-16LE as bytes, the form of string data in Windows' registry files.
std::string toUtf16LeBytes(std::string_view text);
// An odd last byte, which is no UTF-16 at all, is kept as it is.
std::string fromUtf16LeBytes(std::string_view bytes);

// Told by the byte order mark; without one the bytes are taken as they are
// (eightBit), or as the ANSI code page of a western Windows system when the
// reader asks for that (windows1252).
enum class FileEncoding { eightBit, utf8WithBom, utf16Le, windows1252 };
FileEncoding encodingOf(std::string_view fileBytes);
std::string_view byteOrderMark(FileEncoding encoding);

// Windows-1252 bytes as UTF-8 text, and back; a character that code page
// cannot hold comes back as "?".
std::string fromWindows1252(std::string_view bytes);
std::string toWindows1252(std::string_view text);

// Text in the file's encoding, without a byte order mark, and back.
std::string encodeText(std::string_view text, FileEncoding encoding);
std::string decodeText(std::string_view bytes, FileEncoding encoding);

struct DecodedFile {
  std::string text; // 8-bit text
  FileEncoding encoding = FileEncoding::eightBit;
};
DecodedFile decodeFile(std::string_view fileBytes);

} // namespace tsen::platform
