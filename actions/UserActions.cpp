#include "actions/UserActions.h"

#include "platform/Platform.h"

namespace tsen {

void showMessage(const std::string& text, const std::string& caption, unsigned style) {
  platform::messageBox(text, caption, style);
}

std::intptr_t openAddress(const std::string& address) {
  return platform::shellOpen(address);
}

bool openHelp(const std::string& file, unsigned command, std::intptr_t data) {
  return platform::htmlHelp(file, command, data);
}

} // namespace tsen
