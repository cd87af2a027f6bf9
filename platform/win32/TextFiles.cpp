// Text files: the C runtime's for reading, one locked write for appending;
// local time through the runtime's thread-safe conversion.
#include "platform/Platform.h"

#include "platform/win32/Handles.h"

#include <windows.h>

#include <ctime>
#include <limits>

namespace tsen::platform {

UniqueFile openFile(const std::string& path, const char* mode) {
  return UniqueFile(std::fopen(path.c_str(), mode));
}

bool appendToFile(const std::string& path, std::string_view text) {
  if (text.size() > std::numeric_limits<DWORD>::max()) {
    return false;
  }
  // Append-only access puts every write at the end of the file. Byte-range
  // locks need read or write data access as well; read data access adds it
  // without giving up the append-only writes.
  const auto file = win32::ownValidHandle<win32::UniqueHandle>(CreateFileA(
      path.c_str(), FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return false;
  }
  // Writers take turns on one byte far beyond any real file's end, so that
  // readers, who never lock, are not held up. A writer that cannot take its
  // turn still writes: a line that may tear is better than a line lost.
  OVERLAPPED turn{};
  turn.OffsetHigh = 0x40000000; // byte 2^62
  const bool locked = LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn) != FALSE;
  DWORD written = 0;
  const bool whole =
      WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size();
  if (locked) {
    UnlockFileEx(file.get(), 0, 1, 0, &turn);
  }
  return whole;
}

bool localTime(std::time_t t, std::tm& local) {
  return localtime_s(&local, &t) == 0;
}

} // namespace tsen::platform
