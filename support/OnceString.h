// A text found once and then kept for the life of the process.
#pragma once

#include <atomic>
#include <memory>
#include <string>

namespace tsen {

// Readers never lock: get() is one atomic load. While nothing is kept, each
// caller computes the text itself; the first to publish a text wins, and
// every publisher gets the text that was kept.
class OnceString {
public:
  constexpr OnceString() = default;
  OnceString(const OnceString&) = delete;
  OnceString& operator=(const OnceString&) = delete;

  // The kept text, or null while none is kept.
  const std::string* get() const noexcept { return kept_.load(std::memory_order_acquire); }

  // Keeps text unless another text was kept first; answers the kept text.
  const std::string& publish(std::string text) {
    auto candidate = std::make_unique<const std::string>(std::move(text));
    const std::string* expected = nullptr;
    if (kept_.compare_exchange_strong(expected, candidate.get(), std::memory_order_acq_rel,
                                      std::memory_order_acquire)) {
      owner_ = std::move(candidate); // only the one winner ever writes owner_
      return *owner_;
    }
    return *expected;
  }

  // The kept text; before one is kept, what find(found) writes into found,
  // kept unless it is empty, so that an empty answer is looked for again.
  template <class Find> const std::string& getOrFind(std::string& found, Find find) {
    if (const std::string* kept = get()) {
      return *kept;
    }
    find(found);
    if (found.empty()) {
      return found;
    }
    return publish(std::move(found));
  }

private:
  std::atomic<const std::string*> kept_{nullptr};
  std::unique_ptr<const std::string> owner_;
};

} // namespace tsen
