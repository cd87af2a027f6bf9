// The existence check for files and folders, optionally telling the user.
#include "TsEnvironment.h"

#include "actions/UserActions.h"
#include "platform/Platform.h"

bool TsEnFileExist(const std::string& path, bool showMessage) {
  const bool exists = !path.empty() && tsen::platform::pathFileExists(path);
  if (!exists && showMessage && !path.empty()) {
    tsen::showMessage("Unable to find the file \"" + path + "\" !", "Tessaline",
                      tsen::platform::kMbOk | tsen::platform::kMbIconWarning);
  }
  return exists;
}
