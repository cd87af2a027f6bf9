// The registry file on disk. Reads reuse the parsed file until the file
// changes; every change re-reads the file under an advisory lock and
// replaces it atomically, so that processes writing at once lose nothing.
#pragma once

#include "platform/common/RegistryTree.h"
#include "platform/portable/RegDocument.h"

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include <sys/types.h>

namespace tsen::platform::portable {

// TSEN_REGISTRY, else $XDG_CONFIG_HOME/tessaline/registry.reg with
// ~/.config standing in for an unset XDG_CONFIG_HOME; empty when there is no
// home folder to put it in.
std::string registryFilePath();

class RegistryStore {
public:
  enum class EditResult { failed, unchanged, changed };
  using Edit = std::function<EditResult(RegDocument& document, const RegistryTree& tree)>;

  static RegistryStore& instance();

  // Calls use with the registry as the file holds it now (a missing file
  // holds an empty registry, and so, for reads, does one that cannot be read)
  // and returns its answer.
  template <class Use> decltype(auto) read(Use&& use) {
    const std::lock_guard lock(cacheMutex_);
    return std::forward<Use>(use)(currentTree());
  }

  // Applies edit to the file as it is under the lock and writes the result
  // back if it changed anything. False when the edit fails or the file
  // cannot be read or replaced.
  bool update(const Edit& edit);

  // How often the file's text has been parsed in this process.
  std::uint64_t parseCount() const { return parseCount_.load(); }

  // What tells one version of the file from another.
  struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::time_t modifiedSeconds = 0;
    long modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
  };

private:
  struct Snapshot {
    std::string path;
    FileIdentity identity;
    RegistryTree tree;
  };

  const RegistryTree& currentTree();
  RegDocument parseCounted(std::string_view bytes);
  void install(std::string path, const FileIdentity& identity, RegistryTree tree);

  std::mutex cacheMutex_;
  std::mutex writeMutex_; // orders this process's writers before the file lock
  std::unique_ptr<Snapshot> cache_;
  std::atomic<std::uint64_t> parseCount_{0};
};

} // namespace tsen::platform::portable
