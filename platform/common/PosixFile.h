// Owners of POSIX file descriptors and advisory locks, and the one write loop
// every writer on the host uses.
#pragma once

#include <cerrno>
#include <string_view>

#include <sys/file.h>
#include <unistd.h>

namespace tsen::platform::host {

// Closes a descriptor when it goes out of scope.
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

// Holds an exclusive advisory lock (flock) on an open file while it lives;
// unlocked where the file system cannot lock, as it only orders our writers.
class ExclusiveLock {
public:
  explicit ExclusiveLock(int fd) : fd_(fd) {
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;
  ~ExclusiveLock() { ::flock(fd_, LOCK_UN); }

private:
  int fd_;
};

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
