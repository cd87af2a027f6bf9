#include "support/UserActions.h"

#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace tsen {
namespace {

bool isDryRun() {
  const char* value = std::getenv("TSEN_DRY_RUN");
  return value != nullptr && *value != '\0';
}

// One line each: line breaks inside a message are written as "\n".
void describe(std::string line) {
  for (std::size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at + 2)) {
    line.replace(at, 1, "\\n");
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

} // namespace

void showMessage(const std::string& text, const std::string& caption, unsigned style) {
  if (isDryRun()) {
    describe("message box: " + caption + ": " + text);
    return;
  }
  platform::messageBox(text, caption, style);
}

std::intptr_t openAddress(const std::string& address) {
  if (isDryRun()) {
    describe("open address: " + address);
    return 42; // what the shell answers for a started program
  }
  return platform::shellOpen(address);
}

bool openHelp(const std::string& file, unsigned command, std::intptr_t data) {
  if (isDryRun()) {
    describe("open help: " + file + " " + std::to_string(command) + " " + std::to_string(data));
    return true;
  }
  return platform::htmlHelp(file, command, data);
}

} // namespace tsen
