// Scratch folders and whole-file reads and writes for the portable tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace tsen::platform::testing {

// A fresh folder, removed with everything in it at the end of the test.
class ScratchFolder {
public:
  ScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string name =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tsen-portable-XXXXXX";
    if (::mkdtemp(name.data()) == nullptr) {
      throw std::runtime_error("no scratch folder: " + name);
    }
    path_ = name;
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string path() const { return path_.string(); }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
  std::filesystem::path path_;
};

// The parts one after the other. (Chains of + on temporary strings trip
// GCC 12's -Wrestrict at -O3.)
template <class... Parts> std::string concat(const Parts&... parts) {
  std::string joined;
  (joined += ... += parts);
  return joined;
}

inline std::string readWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void writeWhole(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    lines.push_back(line);
  }
  return lines;
}

// Runs work in `count` child processes at once (work gets the child's
// number) and answers whether every child returned true.
template <class Work> bool inChildProcesses(int count, Work work) {
  std::vector<pid_t> children;
  for (int child = 0; child < count; ++child) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::_exit(work(child) ? 0 : 1);
    }
    children.push_back(pid);
  }
  bool allSucceeded = true;
  for (const pid_t pid : children) {
    int status = 0;
    allSucceeded = ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                   WEXITSTATUS(status) == 0 && allSucceeded;
  }
  return allSucceeded;
}

} // namespace tsen::platform::testing
