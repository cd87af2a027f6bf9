// The registry calls for whole keys on a host whose 8-bit text is UTF-8
// already (the portable layer and the test double): the plain calls, with
// Windows-1252, a western system's, standing in for the ANSI code page.
#include "platform/Platform.h"
#include "platform/common/TextEncoding.h"

namespace tsen::platform {

bool regOpenKeyUtf8(HKEY root, const std::string& subKey, HKEY& key) {
  return regOpenKey(root, subKey.c_str(), key);
}

bool regCreateKeyUtf8(HKEY root, const std::string& subKey, HKEY& key) {
  return regCreateKey(root, subKey.c_str(), key);
}

bool regSetValueUtf8(HKEY key, const std::string& name, std::uint32_t type,
                     const std::string& data) {
  return regSetValue(key, name.c_str(), type, data.data(), static_cast<std::uint32_t>(data.size()));
}

std::string utf8FromAnsi(std::string_view text) {
  return fromWindows1252(text);
}

} // namespace tsen::platform
