#include "tools/tsenv/Commands.h"

#include "actions/UserActions.h"
#include "platform/Platform.h"

#include <cstdio>

namespace tsenv {
namespace {

bool describing = false;
std::string* collected = nullptr;

// One line each: line breaks inside a message are written as "\n".
void describe(std::string line) {
  for (std::size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at + 2)) {
    line.replace(at, 1, "\\n");
  }
  if (collected != nullptr) {
    *collected += (collected->empty() ? "" : " | ") + line;
    return;
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

} // namespace

void describeActions(std::string* into) {
  describing = true;
  collected = into;
}

} // namespace tsenv

namespace tsen {

void showMessage(const std::string& text, const std::string& caption, unsigned style) {
  if (!tsenv::describing) {
    platform::messageBox(text, caption, style);
    return;
  }
  tsenv::describe("message box: " + caption + ": " + text);
}

std::intptr_t openAddress(const std::string& address) {
  if (!tsenv::describing) {
    return platform::shellOpen(address);
  }
  tsenv::describe("open address: " + address);
  return 42; // what the shell answers for a started program
}

bool openHelp(const std::string& file, unsigned command, std::intptr_t data) {
  if (!tsenv::describing) {
    return platform::htmlHelp(file, command, data);
  }
  tsenv::describe("open help: " + file + " " + std::to_string(command) + " " +
                  std::to_string(data));
  return true;
}

} // namespace tsen
