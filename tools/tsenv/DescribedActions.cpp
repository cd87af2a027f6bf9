#include "tools/tsenv/Commands.h"

#include "actions/UserActions.h"
#include "platform/Platform.h"

#include <cstdio>

namespace tsenv {
namespace {

// Set once actions are described: where to collect them, or null to print.
std::optional<std::string*> describing;

// One line each: line breaks inside a message are written as "\n". Answers
// what the system answers when it has done the action.
template <class Answer> Answer describe(std::string line, Answer answer) {
  for (std::size_t at = line.find('\n'); at != std::string::npos; at = line.find('\n', at + 2)) {
    line.replace(at, 1, "\\n");
  }
  if (std::string* collected = *describing) {
    *collected += (collected->empty() ? "" : " | ") + line;
  } else {
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
  }
  return answer;
}

} // namespace

void describeActions(std::string* into) {
  describing = into;
}

} // namespace tsenv

namespace tsen {

void showMessage(const std::string& text, const std::string& caption, unsigned style) {
  tsenv::describing ? tsenv::describe("message box: " + caption + ": " + text, 0)
                    : platform::messageBox(text, caption, style);
}

std::intptr_t openAddress(const std::string& address) {
  // 42: what the shell answers for a started program.
  return tsenv::describing ? tsenv::describe("open address: " + address, std::intptr_t{42})
                           : platform::shellOpen(address);
}

bool openHelp(const std::string& file, unsigned command, std::intptr_t data) {
  const std::string what = file + " " + std::to_string(command) + " " + std::to_string(data);
  return tsenv::describing ? tsenv::describe("open help: " + what, true)
                           : platform::htmlHelp(file, command, data);
}

} // namespace tsen
