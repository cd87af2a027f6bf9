// The host benchmarks are two programs: bench_fake over the test double and
// bench_real over the portable platform layer. The command log benchmarks are
// built into both; each program says here how it points the library at a
// user of a scratch folder.
#pragma once

#include <filesystem>

namespace tsen::bench {

// The user's roaming folder becomes folder, and (over the real layer) the
// registry a file in it.
void selectUser(const std::filesystem::path& folder);

} // namespace tsen::bench
