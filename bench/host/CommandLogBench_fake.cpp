// Command log throughput over the test double: the registry in memory, the
// log a real file.
#include "bench/host/CommandLogCases.h"
#include "platform/testing/FakeSystem.h"

namespace {

constexpr const char* kModulesKey = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Tessaline modules";

class BenchUser : public tsen::bench::LogUserRoot {
public:
  BenchUser() : LogUserRoot("tsen-bench-log-") {
    std::filesystem::create_directories(log().parent_path());
    tsen::fake::reset();
    tsen::fake::setKnownFolder(tsen::fake::KnownFolder::roamingAppData,
                               tsen::bench::backslashed(path()));
    tsen::fake::setString(tsen::platform::kCurrentUser,
                          "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services", "Current Config",
                          "Road");
    tsen::fake::setString(tsen::platform::kCurrentUser, kModulesKey, "ActiveDomainKey", "Road");
  }

  static void setLogging(bool on) {
    tsen::fake::setDword(tsen::platform::kCurrentUser, kModulesKey, "LogCommands", on ? 1 : 0);
  }
};

const bool registered = (tsen::bench::registerCommandLogBenchmarks<BenchUser>(), true);

} // namespace
