// The user's My Tessaline folder, kept once found.
#include "TsEnvironment.h"

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

std::string TsEnGetMyTessalinePath() {
  if (const std::string* kept = cachedMyTessaline.get()) {
    return *kept;
  }
  std::string folder;
  std::string path;
  // A value that is present but empty is the answer; the user data folder
  // serves only when there is no value.
  if (readMyTessalineDirectory(folder)) {
    tsen::CopyPathTrimBackslash(path, folder);
  } else {
    tsen::CopyPathTrimBackslash(path, TsEnGetUserDataPath());
  }
  if (path.empty()) {
    return path;
  }
  return cachedMyTessaline.publish(std::move(path));
}
