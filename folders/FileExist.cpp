// The existence check for files and folders, optionally telling the user.
#include "TsEnvironment.h"

#include "actions/UserActions.h"
#include "platform/Platform.h"

bool TsEnFileExist(const std::string& path, bool showMessage) {
  if (path.empty()) {
    return false;
  }
  if (tsen::platform::pathFileExists(path)) {
    return true;
  }
  if (showMessage) {
    tsen::showMessage("Unable to find the file \"" + path + "\" !", "Tessaline",
                      tsen::platform::kMbOk | tsen::platform::kMbIconWarning);
  }
  return false;
}
