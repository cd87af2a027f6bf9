// The application folder: the parent of the "Binaries" folder that holds
// this library, found from the library's own file name and then kept.
#include "TsEnvironment.h"

#include "folders/KeptFolders.h"
#include "folders/PathCopy.h"
#include "platform/Platform.h"
#include "support/AsciiCase.h"
#include "support/OnceString.h"

#include <string_view>

namespace {

tsen::OnceString cachedAppPath;

// The folder above the library's folder when that is named "binaries" in any
// letter case; empty otherwise, and for names with fewer than two backslashes.
std::string_view applicationFolderOf(std::string_view libraryFile) {
  const auto fileCut = libraryFile.rfind('\\');
  if (fileCut == std::string_view::npos) {
    return {};
  }
  const std::string_view libraryFolder = libraryFile.substr(0, fileCut);
  const auto folderCut = libraryFolder.rfind('\\');
  if (folderCut == std::string_view::npos) {
    return {};
  }
  if (!tsen::asciiEqualNoCase(libraryFolder.substr(folderCut), "\\binaries")) {
    return {};
  }
  return libraryFolder.substr(0, folderCut);
}

} // namespace

namespace tsen {

void CopyPathTrimBackslash(std::string& destination, std::string_view source) {
  destination.assign(source);
  if (!destination.empty() && destination.back() == '\\') {
    destination.pop_back();
  }
}

const std::string& appPath(std::string& found) {
  // Not found is not kept: a library outside a Binaries folder asks again.
  return cachedAppPath.getOrFind(found, [](std::string& path) {
    CopyPathTrimBackslash(path, applicationFolderOf(platform::moduleFileName()));
  });
}

} // namespace tsen

std::string TsEnGetAppPath() {
  std::string found;
  return std::string(tsen::appPath(found));
}
