// Messages, the web browser and the compiled help viewer on a desktop host,
// the last two started as programs of their own.
#include "platform/Platform.h"
#include "platform/common/PathConversion.h"
#include "platform/common/TextPieces.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tsen::platform {

namespace {

constexpr int kIdOk = 1;
// ShellExecuteA's answers: any value above 32 is success.
constexpr std::intptr_t kShellStarted = 42;
constexpr std::intptr_t kShellFileNotFound = 2;

// posix_spawn attributes for a program that must not inherit the caller's
// blocked signals or terminal session.
struct SpawnAttributes {
  SpawnAttributes() {
    ::posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    ::posix_spawnattr_setsigmask(&attributes, &signals);
    for (const int reset : {SIGPIPE, SIGINT, SIGHUP}) {
      sigaddset(&signals, reset);
    }
    ::posix_spawnattr_setsigdefault(&attributes, &signals);
    ::posix_spawnattr_setflags(&attributes,
                               POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes); }
  posix_spawnattr_t attributes;
};

// The full name of the executable file program in the folders of PATH.
std::optional<std::string> findOnPath(std::string_view program) {
  const char* path = std::getenv("PATH");
  const std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  for (const std::string_view folder : splitAt(folders, ':')) {
    const std::string candidate =
        std::string(folder.empty() ? "." : folder) + '/' + std::string(program);
    struct stat status {};
    if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return std::nullopt;
}

// Starts program (searched on PATH) with arguments (the first being the
// program's own name) in a session of its own, without a shell, so that no
// argument is ever read as a command, and without waiting for it. True when
// the program was started.
bool startDetached(const std::string& program, const std::vector<std::string>& arguments) {
  // Everything the child needs is made before fork: the child of a threaded
  // process may only make system calls.
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  const SpawnAttributes attributes;

  // The program is started by a short-lived intermediate child, so that it
  // becomes the init process's to reap and nothing here waits for it.
  const pid_t intermediate = ::fork();
  if (intermediate < 0) {
    return false;
  }
  if (intermediate == 0) {
    pid_t started = 0;
    const int error = ::posix_spawnp(&started, program.c_str(), nullptr, &attributes.attributes,
                                     argv.data(), environ);
    ::_exit(error == 0 ? EXIT_SUCCESS : EXIT_FAILURE);
  }
  int status = 0;
  while (::waitpid(intermediate, &status, 0) < 0) {
    if (errno != EINTR) {
      // Reaped elsewhere (SIGCHLD ignored by the host): the outcome is unknown,
      // and a failed start is the rarer case.
      return true;
    }
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == EXIT_SUCCESS;
}

std::optional<std::string> findChmViewer() {
  for (const char* viewer : {"xchm", "kchmviewer", "chmsee"}) {
    if (auto found = findOnPath(viewer)) {
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
  return startDetached("xdg-open", {"xdg-open", address}) ? kShellStarted : kShellFileNotFound;
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
  return startDetached(*viewer, {*viewer, hostFile});
}

} // namespace tsen::platform
