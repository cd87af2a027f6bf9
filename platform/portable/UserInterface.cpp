// Messages, the web browser and the compiled help viewer on a desktop host,
// the last two started as programs of their own.
#include "platform/Platform.h"
#include "platform/common/HostFiles.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tsen::platform {

namespace {

// Starts the program arguments[0] (searched on PATH) with arguments in a
// session of its own, without a shell, so that no argument is ever read as a
// command, and without waiting for it. True when the program was started.
bool startDetached(const std::vector<std::string>& arguments) {
  // Made before fork: the child of a threaded process may only make system calls.
  std::vector<char*> argv;
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  // Started by a short-lived intermediate child, so that the program becomes
  // the init process's to reap and nothing here waits for it.
  const pid_t intermediate = ::fork();
  if (intermediate == 0) {
    // Neither the caller's blocked signals nor its terminal session pass on.
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (const int reset : {SIGPIPE, SIGINT, SIGHUP}) {
      ::signal(reset, SIG_DFL);
    }
    ::setsid();
    pid_t started = 0;
    const int error = ::posix_spawnp(&started, argv[0], nullptr, nullptr, argv.data(), environ);
    ::_exit(error == 0 ? EXIT_SUCCESS : EXIT_FAILURE);
  }
  int status = 0;
  while (intermediate > 0 && ::waitpid(intermediate, &status, 0) < 0) {
    if (errno != EINTR) {
      // Reaped elsewhere (SIGCHLD ignored by the host): the rarer case is a failed start.
      return true;
    }
  }
  return intermediate > 0 && WIFEXITED(status) && WEXITSTATUS(status) == EXIT_SUCCESS;
}

} // namespace

// Nobody may be there to press a button: the message goes to the error
// stream in one piece and is taken as acknowledged (IDOK).
int messageBox(const std::string& text, const std::string& caption, unsigned /*style*/) {
  const std::string line = caption + ": " + text + '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
  return 1;
}

std::intptr_t shellOpen(const std::string& address) {
  // ShellExecuteA's answers: above 32 for success, 2 for no such file.
  return startDetached({"xdg-open", address}) ? 42 : 2;
}

bool htmlHelp(const std::string& file, unsigned /*command*/, std::intptr_t /*data*/) {
  std::string hostFile = host::withSlashes(file);
  if (::access(hostFile.c_str(), R_OK) != 0) {
    return false;
  }
  if (hostFile.starts_with('-')) {
    hostFile.insert(0, "./"); // never read as an option of the viewer
  }
  // The viewers take no topic numbers: the file opens at its start.
  const auto opens = [&](const char* viewer) { return startDetached({viewer, hostFile}); };
  return std::ranges::any_of(std::array{"xchm", "kchmviewer", "chmsee"}, opens);
}

} // namespace tsen::platform
