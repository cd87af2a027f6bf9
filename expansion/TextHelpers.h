// Text helpers of file name expansion.
#pragma once

#include <string>

namespace tsen {

// printf-style formatting into at most 1023 characters; longer output is cut
// there. A null format gives an empty text.
std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Upper-cases one character: the Latin-1 letters ä, å, æ, ö and ø become Ä,
// Å, Æ, Ö and Ø, the ASCII letters their capitals, every other byte stays.
char UpperCaseChar(char c);

// A copy of text with UpperCaseChar applied to every character, so each
// position in the copy is the same position in the text.
std::string UpperCaseCopy(const std::string& text);

} // namespace tsen
