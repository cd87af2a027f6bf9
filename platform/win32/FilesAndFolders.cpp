// Existence checks, shell folders, the temporary folder and the one-folder
// file search.
#include "platform/Platform.h"

#include "platform/win32/GrowingBuffer.h"

#include <windows.h>

#include <io.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace tsen::platform {

bool pathFileExists(const std::string& path) {
  return PathFileExistsA(path.c_str()) != FALSE;
}

bool canRead(const std::string& path) {
  constexpr int kReadAccess = 4;
  return _access(path.c_str(), kReadAccess) == 0;
}

std::optional<std::string> knownFolder(KnownFolder folder) {
  // The call's contract is a MAX_PATH buffer; it never writes more.
  char buffer[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, static_cast<int>(folder), nullptr, SHGFP_TYPE_CURRENT, buffer) !=
      S_OK) {
    return std::nullopt;
  }
  return std::string(buffer);
}

bool createFolders(const std::string& path) {
  return SHCreateDirectoryExA(nullptr, path.c_str(), nullptr) == ERROR_SUCCESS;
}

std::optional<std::string> tempFolder() {
  return win32::readGrowing(
      [](char* buffer, DWORD capacity) { return GetTempPathA(capacity, buffer); });
}

std::uint32_t searchPath(const char* folder, const char* fileName, const char* extension,
                         std::uint32_t bufferSize, char* buffer) {
  return SearchPathA(folder, fileName, extension, bufferSize, buffer, nullptr);
}

} // namespace tsen::platform
