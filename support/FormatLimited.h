// printf-style formatting into a text of bounded length.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

namespace tsen {

// Formats into at most capacity - 1 characters, as a buffer of capacity
// characters with its terminating NUL would hold; longer output is cut there.
// A null format gives an empty text.
std::string formatLimited(std::size_t capacity, const char* format, va_list arguments);

} // namespace tsen
