// The host benchmarks are two programs: bench_fake over the test double and
// bench_real over the portable platform layer. The command log benchmarks are
// built into both; each program says here how it points the library at a
// user of a scratch folder.
#pragma once

#include "TsEnvironment.h"
#include "platform/Platform.h"

#include <filesystem>

namespace tsen::bench {

// The user's roaming folder becomes folder, and (over the real layer) the
// registry a file in it.
void selectUser(const std::filesystem::path& folder);

// A user of folder with the 18.40 layout, the configuration and active
// domain Road.
inline void selectRoadUser(const std::filesystem::path& folder) {
  selectUser(folder);
  TsEnWinRegistry flag, kernel;
  flag.OpenKey(platform::kCurrentUser, TsEnRegKeyQVRConnect, true);
  flag.WriteLong(TsEnRegValueQVRConnect, 0);
  kernel.OpenKey(platform::kCurrentUser, TsEnGetRegKeyKernelServices(), true);
  kernel.WriteString(TsEnRegValueCurrentConfig, "Road");
  setActiveTessalineDomain("Road");
}

} // namespace tsen::bench
