// Wall-clock timing for the Wine timing programs. Under Wine much of a
// registry call's work is done by the Wine server, which the process's own
// CPU time would leave out.
#pragma once

#include <algorithm>
#include <chrono>
#include <limits>
#include <utility>

namespace tsen::bench {

// The average time of one call over rounds calls.
template <typename Step> double nanosecondsPerCall(int rounds, Step step) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    static_cast<void>(step());
  }
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / rounds;
}

// The fastest of several batches, so that a busy machine counts less.
template <typename Step> double fastest(int rounds, Step step, int batches = 5) {
  double best = std::numeric_limits<double>::max();
  for (int batch = 0; batch < batches; ++batch) {
    best = std::min(best, nanosecondsPerCall(rounds / batches + 1, step));
  }
  return best;
}

// The fastest batch of each of two steps, their batches alternating so that a
// busy spell slows neither side alone.
template <typename First, typename Second>
std::pair<double, double> fastestAlternating(int rounds, int batches, First first, Second second) {
  std::pair<double, double> best{std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::max()};
  for (int batch = 0; batch < batches; ++batch) {
    best.first = std::min(best.first, nanosecondsPerCall(rounds / batches + 1, first));
    best.second = std::min(best.second, nanosecondsPerCall(rounds / batches + 1, second));
  }
  return best;
}

} // namespace tsen::bench
