// The user's My Tessaline folder, kept once found.
#include "TsEnvironment.h"

#include "folders/KeptFolders.h"
#include "folders/PathCopy.h"
#include "platform/Platform.h"
#include "support/OnceString.h"

namespace {

tsen::OnceString cachedMyTessaline;

// The registry's "My Tessaline Directory", if the value is there at all.
bool readMyTessalineDirectory(std::string& folder) {
  TsEnWinRegistry registry;
  return registry.OpenKey(tsen::platform::kCurrentUser, TsEnGetRegKeyKernelServices(), false) &&
         registry.ReadString("My Tessaline Directory", folder);
}

} // namespace

const std::string& tsen::myTessalinePath(std::string& found) {
  return cachedMyTessaline.getOrFind(found, [](std::string& path) {
    std::string folder;
    // A value that is present but empty is the answer; the user data folder
    // serves only when there is no value.
    if (readMyTessalineDirectory(folder)) {
      CopyPathTrimBackslash(path, folder);
    } else {
      CopyPathTrimBackslash(path, TsEnGetUserDataPath());
    }
  });
}

std::string TsEnGetMyTessalinePath() {
  std::string found;
  return std::string(tsen::myTessalinePath(found));
}
