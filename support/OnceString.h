// A text found once and then kept for the life of the process.
#pragma once

#include <atomic>
#include <memory>
#include <string>

namespace tsen {

class OnceString {
public:
  constexpr OnceString() = default; // and, by its members, neither copied nor moved

  // Before a text is kept, what find(found) writes, kept unless empty (an
  // empty answer is looked for again). Readers never lock; of racing finders
  // the first to keep a text wins, and all answer it.
  template <class Find> const std::string& getOrFind(std::string& found, Find find) {
    if (const std::string* kept = kept_.load(std::memory_order_acquire)) {
      return *kept;
    }
    find(found);
    if (found.empty()) {
      return found;
    }
    auto candidate = std::make_unique<const std::string>(std::move(found));
    const std::string* expected = nullptr;
    if (kept_.compare_exchange_strong(expected, candidate.get(), std::memory_order_acq_rel,
                                      std::memory_order_acquire)) {
      owner_ = std::move(candidate); // only the one winner ever writes owner_
      return *owner_;
    }
    return *expected;
  }

private:
  std::atomic<const std::string*> kept_{nullptr};
  std::unique_ptr<const std::string> owner_;
};

} // namespace tsen
