// The host's file helpers, shared by every writer on the host.
#pragma once

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>

#include <sys/file.h>
#include <unistd.h>

namespace tsen::platform::host {

// The host's system calls want slashes; every conversion goes through these.
inline std::string withSlashes(std::string path) {
  std::ranges::replace(path, '\\', '/');
  return path;
}
inline std::string withBackslashes(std::string path) {
  std::ranges::replace(path, '/', '\\');
  return path;
}

class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  int get() const { return fd_; }
  bool isOpen() const { return fd_ >= 0; }

private:
  int fd_;
};

// Released on close; none where the file system cannot lock, as it only
// orders our own writers.
inline void lockExclusive(int fd) {
  while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
  }
}

// Writes all of text, going on after partial writes and interruptions.
inline bool writeWhole(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

} // namespace tsen::platform::host
