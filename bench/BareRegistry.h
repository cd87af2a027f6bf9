// The registry read with bare platform calls: the floor against which the
// library's own reads are measured, on the host and under Wine alike.
#pragma once

#include "platform/Platform.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace tsen::bench {

// Open, query, close: a 32-bit number below HKEY_CURRENT_USER; -1 when unread.
inline std::int32_t bareReadNumber(const char* key, const char* name) {
  HKEY opened = nullptr;
  if (!platform::regOpenKey(platform::kCurrentUser, key, opened)) {
    return -1;
  }
  std::int32_t number = 0;
  std::uint32_t size = sizeof number;
  const bool read = platform::regQueryValue(opened, name, nullptr, &number, size);
  platform::regCloseKey(opened);
  return read ? number : -1;
}

// Open, query the size, query the text, close; the text up to its first NUL.
inline std::string bareReadText(const char* key, const char* name) {
  HKEY opened = nullptr;
  std::string text;
  if (platform::regOpenKey(platform::kCurrentUser, key, opened)) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (platform::regQueryValue(opened, name, &type, nullptr, size)) {
      text.resize(size);
      platform::regQueryValue(opened, name, &type, text.data(), size);
      text.resize(std::min<std::size_t>(size, text.find('\0')));
    }
    platform::regCloseKey(opened);
  }
  return text;
}

} // namespace tsen::bench
