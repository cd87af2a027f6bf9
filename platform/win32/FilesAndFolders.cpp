// Existence checks, shell folders, the temporary folder, the one-folder file
// search, directory listings and the file of the module this code is in.
#include "platform/Platform.h"

#include "platform/win32/Handles.h"

#include <windows.h>

#include <io.h>
#include <shlobj.h>
#include <shlwapi.h>

// The linker places this at the base of every image: in the library it names
// the library itself, whichever program loaded it.
extern "C" IMAGE_DOS_HEADER __ImageBase;

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
  const HRESULT result =
      SHGetFolderPathA(nullptr, static_cast<int>(folder), nullptr, SHGFP_TYPE_CURRENT, buffer);
  return result == S_OK ? std::optional<std::string>(buffer) : std::nullopt;
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

struct Listing {
  win32::UniqueFind find;
};

void ListingCloser::operator()(Listing* listing) const noexcept {
  std::default_delete<Listing>()(listing);
}

UniqueListing openListing(const std::string& pattern, std::string& firstName) {
  WIN32_FIND_DATAA found{};
  auto find = win32::ownValidHandle<win32::UniqueFind>(FindFirstFileA(pattern.c_str(), &found));
  if (!find) {
    return nullptr;
  }
  firstName = found.cFileName;
  return UniqueListing(std::make_unique<Listing>(Listing{std::move(find)}).release());
}

bool nextInListing(Listing& listing, std::string& name) {
  WIN32_FIND_DATAA found{};
  if (!FindNextFileA(listing.find.get(), &found)) {
    return false;
  }
  name = found.cFileName;
  return true;
}

std::string moduleFileName() {
  const auto thisModule = reinterpret_cast<HMODULE>(&__ImageBase);
  // A truncated name comes back as long as the buffer; that grows it.
  return win32::readGrowing([thisModule](char* buffer, DWORD capacity) {
           return GetModuleFileNameA(thisModule, buffer, capacity);
         })
      .value_or(std::string());
}

} // namespace tsen::platform
