#include "support/FormatLimited.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tsen {

std::string formatLimited(std::size_t capacity, const char* format, va_list arguments) {
  if (format == nullptr || capacity == 0) {
    return {};
  }
  std::vector<char> buffer(capacity, '\0');
  const int written = std::vsnprintf(buffer.data(), capacity, format, arguments);
  if (written < 0) {
    return {};
  }
  return std::string(buffer.data(), std::min(static_cast<std::size_t>(written), capacity - 1));
}

} // namespace tsen
