// The registry file on disk. Reads reuse the parsed file until the file
// changes; every change re-reads the file under an advisory lock and
// replaces it atomically, so that processes writing at once lose nothing.
#pragma once

#include "platform/common/RegDocument.h"
#include "platform/common/RegistryTree.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace tsen::platform::portable {

class RegistryStore {
public:
  enum class EditResult { failed, unchanged, changed };
  using Edit = std::function<EditResult(RegDocument& document, const RegistryTree& tree)>;

  static RegistryStore& instance();

  // The registry as the file holds it now; empty for a missing file and, for
  // reads, for one that cannot be read.
  template <class Use> decltype(auto) read(Use&& use) {
    const std::lock_guard lock(cacheMutex_);
    return std::forward<Use>(use)(currentTree());
  }

  // Edits the file as it is under the lock, written back if changed. False
  // when the edit fails or the file cannot be read or replaced.
  bool update(const Edit& edit);

  // How often the file's text has been parsed in this process.
  std::uint64_t parseCount() const { return parseCount_.load(); }

private:
  struct Snapshot { // the parsed file and what tells it from other versions
    std::string path;
    std::array<std::int64_t, 5> identity;
    RegistryTree tree;
  };

  RegistryStore() = default;
  const RegistryTree& currentTree();

  std::mutex cacheMutex_;
  std::mutex writeMutex_; // orders this process's writers before the file lock
  std::optional<Snapshot> cache_;
  std::atomic<std::uint64_t> parseCount_{0};
};

} // namespace tsen::platform::portable
