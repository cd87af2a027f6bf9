// Messages, the web browser and the compiled help viewer on a desktop host.
#include "platform/Platform.h"
#include "platform/common/PathConversion.h"
#include "platform/portable/Launch.h"

#include <array>
#include <cstdio>

#include <unistd.h>

namespace tsen::platform {

namespace {

constexpr int kIdOk = 1;
// ShellExecuteA's answers: any value above 32 is success.
constexpr std::intptr_t kShellStarted = 42;
constexpr std::intptr_t kShellFileNotFound = 2;

std::optional<std::string> findChmViewer() {
  for (const char* viewer : std::array{"xchm", "kchmviewer", "chmsee"}) {
    if (auto found = portable::findOnPath(viewer)) {
      return found;
    }
  }
  return std::nullopt;
}

} // namespace

int messageBox(const std::string& text, const std::string& caption, unsigned /*style*/) {
  // Nobody may be there to press a button: the message goes to the error
  // stream in one piece and is taken as acknowledged.
  const std::string line = caption + ": " + text + '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  return kIdOk;
}

std::intptr_t shellOpen(const std::string& address) {
  return portable::startDetached("xdg-open", {"xdg-open", address}) ? kShellStarted
                                                                    : kShellFileNotFound;
}

bool htmlHelp(const std::string& file, unsigned /*command*/, std::intptr_t /*data*/) {
  // Looked for once, like the help control that is loaded once on Windows.
  static const std::optional<std::string> viewer = findChmViewer();
  std::string hostFile = host::withSlashes(file);
  if (!viewer || ::access(hostFile.c_str(), R_OK) != 0) {
    return false;
  }
  if (hostFile.starts_with('-')) {
    hostFile.insert(0, "./"); // never read as an option of the viewer
  }
  // The viewers take no topic numbers: the file opens at its start.
  return portable::startDetached(*viewer, {*viewer, hostFile});
}

} // namespace tsen::platform
