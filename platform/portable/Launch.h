// Starting other programs without a shell, so that nothing in an argument is
// ever read as a command.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::platform::portable {

// The full name of the executable file program in the folders of PATH.
std::optional<std::string> findOnPath(std::string_view program);

// Starts program (searched on PATH unless it holds a slash) with arguments
// (the first being the program's own name) in a session of its own, and
// returns without waiting for it. True when the program was started.
bool startDetached(const std::string& program, const std::vector<std::string>& arguments);

} // namespace tsen::platform::portable
