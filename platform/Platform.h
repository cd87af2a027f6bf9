// The library's one door to the operating system: every call answers what the
// system answers, untouched. Paths cross it with backslashes.
#pragma once

#include "support/UniqueFile.h"

#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct HKEY__; // as <windows.h> declares it
typedef struct HKEY__* HKEY;

namespace tsen::platform {

// The predefined root keys, with the values <windows.h> gives them.
inline HKEY predefinedKey(std::int32_t value) {
  return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(value));
}
inline const HKEY kCurrentUser = predefinedKey(static_cast<std::int32_t>(0x80000001u));
inline const HKEY kLocalMachine = predefinedKey(static_cast<std::int32_t>(0x80000002u));

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// RegOpenKeyA: opens an existing key. An empty subKey opens root itself.
bool regOpenKey(HKEY root, const char* subKey, HKEY& key);
// RegCreateKeyA: opens a key, creating it and every missing key on its path.
bool regCreateKey(HKEY root, const char* subKey, HKEY& key);
// RegQueryValueExA: size is data's capacity, set to the value's byte count;
// a null data only asks the size, one too small fails. type may be null.
bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size);
bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size);
bool regCloseKey(HKEY key);

// The calls for whole keys, through the wide functions: names and text data
// cross as UTF-8 whatever the ANSI code page; closed with regCloseKey.
bool regOpenKeyUtf8(HKEY root, const std::string& subKey, HKEY& key);
bool regCreateKeyUtf8(HKEY root, const std::string& subKey, HKEY& key);
bool regSetValueUtf8(HKEY key, const std::string& name, std::uint32_t type,
                     const std::string& data);
// The subkey or value at index, in the order the registry keeps them; false
// past the last.
bool regEnumKey(HKEY key, std::uint32_t index, std::string& name);
bool regEnumValue(HKEY key, std::uint32_t index, std::string& name, std::uint32_t& type,
                  std::string& data);
bool regDeleteValue(HKEY key, const std::string& name);
// The key with everything below it; an empty subKey deletes nothing.
bool regDeleteTree(HKEY root, const std::string& subKey);
// MultiByteToWideChar(CP_ACP) in UTF-8; Windows-1252 where there is no ANSI code page.
std::string utf8FromAnsi(std::string_view text);

// The full file name of the module that holds this library (not the host
// program's), never truncated; empty when the system cannot tell.
std::string moduleFileName();
// PathFileExistsA, and _access(path, 4).
bool pathFileExists(const std::string& path);
bool canRead(const std::string& path);

enum class KnownFolder : int {
  roamingAppData = 0x1A, // CSIDL_APPDATA
  commonFiles = 0x2B,    // CSIDL_PROGRAM_FILES_COMMON
};
// SHGetFolderPathA(SHGFP_TYPE_CURRENT): the folder as given; nothing unless S_OK.
std::optional<std::string> knownFolder(KnownFolder folder);
// SHCreateDirectoryExA: path with every missing parent.
bool createFolders(const std::string& path);
// GetTempPathA, never truncated (normally with a trailing backslash); nothing on failure.
std::optional<std::string> tempFolder();
// SearchPathA in folder alone: the full path's length when it fits in buffer with its
// NUL, the size needed (unwritten) when it does not, 0 when there is no such file.
std::uint32_t searchPath(const char* folder, const char* fileName, const char* extension,
                         std::uint32_t bufferSize, char* buffer);

// A directory listing (FindFirstFileA / FindNextFileA / FindClose).
struct Listing;
struct ListingCloser {
  void operator()(Listing* listing) const noexcept;
};
using UniqueListing = std::unique_ptr<Listing, ListingCloser>;
// The names matching pattern ("folder\*.cfg") in the file system's order;
// null when none matches, otherwise firstName holds the first.
UniqueListing openListing(const std::string& pattern, std::string& firstName);
bool nextInListing(Listing& listing, std::string& name);

using tsen::UniqueFile;
UniqueFile openFile(const std::string& path, const char* mode);
// Appends text in one write under a short exclusive lock, so that lines of
// several writers land whole, others reading and writing meanwhile; makes the
// file, never its folder.
bool appendToFile(const std::string& path, std::string_view text);

// The local time of t (localtime_s / localtime_r); false when it cannot be had.
bool localTime(std::time_t t, std::tm& local);

inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
// MessageBoxA with no owner window; answers the button the user chose.
int messageBox(const std::string& text, const std::string& caption, unsigned style);
// ShellExecuteA(null, "open", address, null, null, SW_SHOWNORMAL), the answer
// taken as a number: greater than 32 on success.
std::intptr_t shellOpen(const std::string& address);

inline constexpr unsigned kHhDisplayToc = 0x0001;
inline constexpr unsigned kHhHelpContext = 0x000F;
// HtmlHelpA(GetDesktopWindow(), ...) through the control, loaded once (one that
// fails to load fails every call); true when a help window shows what was asked.
bool htmlHelp(const std::string& file, unsigned command, std::intptr_t data);

} // namespace tsen::platform
