// What the fuzzers share: a hard check, the application folder of the help
// fuzzers, and splitting their inputs.
#pragma once

#include "TsEnvironment.h"
#include "platform/testing/FakeSystem.h"
#include "testsupport/Scratch.h"

#include <cstdlib>
#include <string_view>

namespace tsen::fuzzing {

inline void check(bool holds) {
  if (!holds) {
    std::abort();
  }
}

// The application folder of the whole run, with the library installed in it
// over the test double, the language nor and the domain ROAD. The library
// keeps the language once read: one for the whole run.
inline const testsupport::ScratchFolder& suiteFolder() {
  static const testsupport::ScratchFolder folder("tsen-fuzz-");
  static const bool ready = [] {
    fake::reset();
    fake::setModuleFileName(folder.library("Binaries/Tessaline.Environment.dll"));
    fake::setString(platform::kCurrentUser, "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services",
                    "Language", "nor");
    return setActiveTessalineDomain("ROAD");
  }();
  check(ready);
  return folder;
}

// The text up to the next line feed, taken off input.
inline std::string_view takeLine(std::string_view& input) {
  const auto end = input.find('\n');
  const std::string_view line = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return line;
}

} // namespace tsen::fuzzing
