#include "platform/portable/RegistryStore.h"

#include "platform/Platform.h"
#include "platform/common/HostFiles.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tsen::platform::portable {

namespace {

namespace fs = std::filesystem;
using namespace host;

constexpr mode_t kNewFileMode = 0600; // the user's own settings
constexpr std::string_view kTemporarySuffix = ".tmp";

// What tells one version of the file from another; all zero for no file.
using FileIdentity = std::array<std::int64_t, 5>;

FileIdentity identityOf(const struct stat& status) {
  return {static_cast<std::int64_t>(status.st_dev), static_cast<std::int64_t>(status.st_ino),
          status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec};
}

struct FileContents {
  FileIdentity identity;
  mode_t mode = kNewFileMode;
  std::string bytes;
};

// The file's bytes; a missing file has none. Nothing when the file exists
// but cannot be read, or is no plain file: a FIFO or a device is refused
// without waiting for a writer.
std::optional<FileContents> readFile(const std::string& path) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.isOpen()) {
    return errno == ENOENT ? std::optional(FileContents{}) : std::nullopt;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return std::nullopt;
  }
  FileContents contents{identityOf(status), static_cast<mode_t>(status.st_mode & 07777), {}};
  char buffer[65536];
  for (ssize_t count; (count = ::read(file.get(), buffer, sizeof buffer)) != 0;) {
    if (count < 0 && errno != EINTR) {
      return std::nullopt;
    }
    contents.bytes.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
  }
  return contents;
}

// Temporary files of writers killed before they renamed them
// ("registry.reg.1234.tmp"). Writers make them only under the lock, so while
// it is held every one found is stale.
void removeStaleTemporaries(const std::string& path) {
  const fs::path file(path);
  const std::string prefix = file.filename().string() + '.';
  std::error_code error;
  for (fs::directory_iterator entry(file.has_parent_path() ? file.parent_path() : ".", error), end;
       !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    const std::string_view id = std::string_view(name).substr(
        0, name.ends_with(kTemporarySuffix) ? name.size() - kTemporarySuffix.size() : 0);
    if (id.size() > prefix.size() && id.starts_with(prefix) &&
        id.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos) {
      fs::remove(entry->path(), error);
      error.clear();
    }
  }
}

// Replaces the file at path by one holding bytes: written in full beside it
// first, then renamed over it, so that a reader sees the old file or the new
// one, never a part. The new file's identity, nothing on failure.
std::optional<FileIdentity> replaceFile(const std::string& path, std::string_view bytes,
                                        mode_t mode) {
  const std::string temporary =
      path + '.' + std::to_string(::getpid()) + std::string(kTemporarySuffix);
  const FileDescriptor file(
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode));
  if (!file.isOpen()) {
    return std::nullopt;
  }
  struct stat status {};
  const bool written = ::fchmod(file.get(), mode) == 0 && writeWhole(file.get(), bytes) &&
                       ::fsync(file.get()) == 0 && ::fstat(file.get(), &status) == 0;
  if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return std::nullopt;
  }
  return identityOf(status);
}

// The file a write must replace: through symbolic links, dangling ones too,
// their final target, so that a link stays a link.
std::string writeTarget(std::string path) {
  for (int hop = 0; hop < 40; ++hop) { // as far as the system itself follows
    std::error_code error;
    const fs::path target = fs::read_symlink(path, error);
    if (error) {
      break;
    }
    path = (fs::path(path).parent_path() / target).lexically_normal().string();
  }
  return path;
}

// TSEN_REGISTRY, else $XDG_CONFIG_HOME/tessaline/registry.reg with
// ~/.config standing in for an unset XDG_CONFIG_HOME; empty when there is no
// home folder to put it in.
std::string registryFilePath() {
  if (const char* path = std::getenv("TSEN_REGISTRY"); path != nullptr && *path != '\0') {
    return path;
  }
  const auto folder = knownFolder(KnownFolder::roamingAppData);
  return folder ? host::withSlashes(*folder) + "/tessaline/registry.reg" : "";
}

} // namespace

RegistryStore& RegistryStore::instance() {
  static RegistryStore store;
  return store;
}

const RegistryTree& RegistryStore::currentTree() {
  std::string path = registryFilePath();
  struct stat status {};
  const FileIdentity now = ::stat(path.c_str(), &status) == 0 ? identityOf(status) : FileIdentity{};
  if (cache_ && cache_->path == path && cache_->identity == now) {
    return cache_->tree;
  }
  const auto contents = path.empty() ? std::nullopt : readFile(path);
  if (!contents) {
    // Unreadable: empty, and tried again at the next read.
    static const RegistryTree empty;
    cache_.reset();
    return empty;
  }
  ++parseCount_;
  cache_ =
      Snapshot{std::move(path), contents->identity, RegDocument::parse(contents->bytes).toTree()};
  return cache_->tree;
}

bool RegistryStore::update(const Edit& edit) {
  const std::lock_guard writeLock(writeMutex_);
  const std::string path = registryFilePath();
  if (path.empty()) {
    return false;
  }
  const std::string target = writeTarget(path);
  std::error_code error;
  fs::create_directories(fs::path(target).parent_path(), error);
  // The lock file is never removed: a writer could otherwise lock a file
  // that the next writer no longer sees.
  const FileDescriptor lockFile(
      ::open((target + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, kNewFileMode));
  if (!lockFile.isOpen()) {
    return false;
  }
  lockExclusive(lockFile.get()); // until the lock file closes, on return
  removeStaleTemporaries(target);

  // Read afresh under the lock: what other processes wrote must stay.
  const auto contents = readFile(target);
  if (!contents) {
    return false; // replacing a file that cannot be read would lose it
  }
  ++parseCount_;
  RegDocument document = RegDocument::parse(contents->bytes);
  RegistryTree tree = document.toTree();
  const EditResult result = edit(document, tree);
  std::optional<FileIdentity> identity = contents->identity;
  if (result == EditResult::changed) {
    identity = replaceFile(target, document.serialize(), contents->mode);
    tree = document.toTree();
  }
  if (result == EditResult::failed || !identity) {
    return false;
  }
  const std::lock_guard lock(cacheMutex_);
  cache_ = Snapshot{path, *identity, std::move(tree)};
  return true;
}

} // namespace tsen::platform::portable
