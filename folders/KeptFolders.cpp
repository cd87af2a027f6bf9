// The application folder and the user's My Tessaline folder, each kept once found.
#include "TsEnvironment.h"

#include "folders/KeptFolders.h"
#include "platform/Platform.h"
#include "support/AsciiCase.h"
#include "support/OnceString.h"

#include <string_view>

namespace {

tsen::OnceString cachedAppPath;
tsen::OnceString cachedMyTessaline;

// Copies source into destination, dropping one trailing backslash: a text
// ending in two backslashes keeps one.
void CopyPathTrimBackslash(std::string& destination, std::string_view source) {
  destination.assign(source);
  if (destination.ends_with('\\')) {
    destination.pop_back();
  }
}

// The folder above the library's folder when that is named "binaries" in any
// letter case; empty otherwise, and for names with fewer than two backslashes.
std::string_view applicationFolderOf(std::string_view libraryFile) {
  const std::string_view libraryFolder = libraryFile.substr(0, libraryFile.rfind('\\'));
  const auto folderCut = libraryFolder.rfind('\\');
  if (libraryFolder.size() == libraryFile.size() || folderCut == std::string_view::npos ||
      !tsen::asciiEqualNoCase(libraryFolder.substr(folderCut), "\\binaries")) {
    return {};
  }
  return libraryFolder.substr(0, folderCut);
}

} // namespace

const std::string& tsen::appPath(std::string& found) {
  // Not found is not kept: a library outside a Binaries folder asks again.
  return cachedAppPath.getOrFind(found, [](std::string& path) {
    CopyPathTrimBackslash(path, applicationFolderOf(platform::moduleFileName()));
  });
}

const std::string& tsen::myTessalinePath(std::string& found) {
  return cachedMyTessaline.getOrFind(found, [](std::string& path) {
    // A value that is present but empty is the answer; the user data folder
    // serves only when there is no value.
    TsEnWinRegistry registry;
    std::string folder;
    const bool set =
        registry.OpenKey(platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false) &&
        registry.ReadString(kMyTessalineValue, folder);
    CopyPathTrimBackslash(path, set ? folder : TsEnGetUserDataPath());
  });
}

std::string TsEnGetAppPath() {
  std::string found;
  return std::string(tsen::appPath(found));
}

std::string TsEnGetMyTessalinePath() {
  std::string found;
  return std::string(tsen::myTessalinePath(found));
}
