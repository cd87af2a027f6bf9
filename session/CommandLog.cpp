// The user's command log: one "command;time;domain;info" line per command,
// appended to a file in the user data folder.
#include "TsEnvironment.h"

#include "platform/Platform.h"
#include "session/ModulesKey.h"

#include <array>
#include <ctime>

bool tsen::loggingIsOn() {
  TsEnWinRegistry registry;
  TsEnLong logSwitch = 1;
  if (registry.OpenKey(tsen::platform::kCurrentUser, tsen::modulesKey(), false) &&
      !registry.ReadLong(TsEnRegValueLogCommands, logSwitch)) {
    logSwitch = 1;
  }
  return logSwitch == 1;
}

namespace {

std::string timeStamp() {
  std::tm local{};
  if (!tsen::platform::localTime(std::time(nullptr), local)) {
    return {};
  }
  std::array<char, 128> text{};
  const std::size_t length = std::strftime(text.data(), text.size(), "%Y.%m.%d, %H:%M:%S", &local);
  return std::string(text.data(), length);
}

// Writes every line feed as CR LF, as a text-mode file on Windows does, so the
// log is the same on every build.
std::string asTextFileLine(std::string_view line) {
  std::string text;
  for (const char c : line) {
    if (c == '\n') {
      text += '\r';
    }
    text += c;
  }
  return text;
}

} // namespace

void LogCommandInfo(const std::string& command, const std::string& domain,
                    const std::string& info) {
  if (!tsen::loggingIsOn()) {
    return;
  }
  const std::string domainField = domain == "*" ? getActiveTessalineDomain() : domain;
  const std::string file = TsEnBuildFilename(tsen::kCommandLogFile, TsEnBaseNone, 0);
  const std::string line = command + ";" + timeStamp() + ";" + domainField + ";" + info + "\n";
  // One write, so that lines of several writers land whole; a file that does
  // not open is passed over in silence.
  tsen::platform::appendToFile(file, asTextFileLine(line));
}
