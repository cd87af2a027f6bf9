#include "platform/portable/RegistryStore.h"

#include "platform/portable/PosixFile.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tsen::platform::portable {

namespace {

constexpr mode_t kNewFileMode = 0600; // the user's own settings

using FileIdentity = RegistryStore::FileIdentity;

FileIdentity identityOf(const struct stat& status) {
  return {true,           status.st_dev,         status.st_ino,
          status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

FileIdentity identityOf(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? identityOf(status) : FileIdentity{};
}

struct FileContents {
  FileIdentity identity;
  mode_t mode = kNewFileMode;
  std::string bytes;
};

// The file's bytes; a missing file has none. Nothing when the file exists
// but cannot be read.
std::optional<FileContents> readFile(const std::string& path) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.isOpen()) {
    if (errno == ENOENT) {
      return FileContents{};
    }
    return std::nullopt;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return std::nullopt;
  }
  FileContents contents{identityOf(status), static_cast<mode_t>(status.st_mode & 07777), {}};
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      return std::nullopt;
    }
    if (count == 0) {
      return contents;
    }
    contents.bytes.append(buffer, static_cast<std::size_t>(count));
  }
}

// Replaces the file at path by one holding bytes: written in full beside it
// first, then renamed over it, so that a reader sees the old file or the new
// one, never a part. The new file's identity, nothing on failure.
std::optional<FileIdentity> replaceFile(const std::string& path, std::string_view bytes,
                                        mode_t mode) {
  std::string temporaryName = path + ".XXXXXX";
  const FileDescriptor file(::mkostemp(temporaryName.data(), O_CLOEXEC));
  if (!file.isOpen()) {
    return std::nullopt;
  }
  struct stat status {};
  const bool written = ::fchmod(file.get(), mode) == 0 && writeWhole(file.get(), bytes) &&
                       ::fsync(file.get()) == 0 && ::fstat(file.get(), &status) == 0;
  if (!written || ::rename(temporaryName.c_str(), path.c_str()) != 0) {
    ::unlink(temporaryName.c_str());
    return std::nullopt;
  }
  return identityOf(status);
}

// The file a write must replace: through a symbolic link, its target, so that
// the link stays a link.
std::string writeTarget(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) {
    return path;
  }
  const auto target = std::filesystem::weakly_canonical(path, error);
  return error ? path : target.string();
}

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

} // namespace

std::string registryFilePath() {
  if (std::string path = environmentValue("TSEN_REGISTRY"); !path.empty()) {
    return path;
  }
  std::string configHome = environmentValue("XDG_CONFIG_HOME");
  if (!configHome.starts_with('/')) {
    const std::string home = environmentValue("HOME");
    if (home.empty()) {
      return {};
    }
    configHome = home + "/.config";
  }
  return configHome + "/tessaline/registry.reg";
}

RegistryStore& RegistryStore::instance() {
  static RegistryStore store;
  return store;
}

RegDocument RegistryStore::parseCounted(std::string_view bytes) {
  ++parseCount_;
  return RegDocument::parse(bytes);
}

const RegistryTree& RegistryStore::currentTree() {
  std::string path = registryFilePath();
  if (cache_ && cache_->path == path && cache_->identity == identityOf(path)) {
    return cache_->tree;
  }
  const auto contents = path.empty() ? std::nullopt : readFile(path);
  if (!contents) {
    // Unreadable: empty, and tried again at the next read.
    static const RegistryTree empty;
    cache_.reset();
    return empty;
  }
  RegistryTree tree =
      contents->identity.exists ? parseCounted(contents->bytes).toTree() : RegistryTree{};
  cache_ =
      std::make_unique<Snapshot>(Snapshot{std::move(path), contents->identity, std::move(tree)});
  return cache_->tree;
}

void RegistryStore::install(std::string path, const FileIdentity& identity, RegistryTree tree) {
  const std::lock_guard lock(cacheMutex_);
  cache_ = std::make_unique<Snapshot>(Snapshot{std::move(path), identity, std::move(tree)});
}

bool RegistryStore::update(const Edit& edit) {
  const std::lock_guard writeLock(writeMutex_);
  const std::string path = registryFilePath();
  if (path.empty()) {
    return false;
  }
  const std::string target = writeTarget(path);
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(target).parent_path(), error);
  // The lock file is never removed: a writer could otherwise lock a file
  // that the next writer no longer sees.
  const FileDescriptor lockFile(
      ::open((target + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kNewFileMode));
  if (!lockFile.isOpen()) {
    return false;
  }
  const ExclusiveLock fileLock(lockFile.get());

  // Read afresh under the lock: what other processes wrote must stay.
  const auto contents = readFile(target);
  if (!contents) {
    return false; // replacing a file that cannot be read would lose it
  }
  RegDocument document =
      contents->identity.exists ? parseCounted(contents->bytes) : RegDocument::parse({});
  RegistryTree tree = document.toTree();
  switch (edit(document, tree)) {
  case EditResult::failed:
    return false;
  case EditResult::unchanged:
    install(path, contents->identity, std::move(tree));
    return true;
  case EditResult::changed:
    break;
  }
  const auto identity = replaceFile(target, document.serialize(), contents->mode);
  if (!identity) {
    return false;
  }
  install(path, *identity, document.toTree());
  return true;
}

} // namespace tsen::platform::portable
