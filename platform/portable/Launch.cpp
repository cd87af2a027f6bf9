#include "platform/portable/Launch.h"

#include "platform/portable/TextPieces.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tsen::platform::portable {

namespace {

// posix_spawn attributes for a program that must not inherit the caller's
// blocked signals or terminal session.
class SpawnAttributes {
public:
  SpawnAttributes() {
    ::posix_spawnattr_init(&attributes_);
    sigset_t signals;
    sigemptyset(&signals);
    ::posix_spawnattr_setsigmask(&attributes_, &signals);
    sigaddset(&signals, SIGPIPE);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    ::posix_spawnattr_setsigdefault(&attributes_, &signals);
    ::posix_spawnattr_setflags(&attributes_,
                               POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
  const posix_spawnattr_t* get() const { return &attributes_; }

private:
  posix_spawnattr_t attributes_;
};

} // namespace

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
    const int error =
        ::posix_spawnp(&started, program.c_str(), nullptr, attributes.get(), argv.data(), environ);
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

} // namespace tsen::platform::portable
