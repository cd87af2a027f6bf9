// File name patterns as the Windows directory listing reads them.
#pragma once

#include <string_view>

namespace tsen::platform::host {

// True when name matches pattern, where '*' stands for any run of characters
// and '?' for exactly one; letters match in either case (ASCII).
bool matchesWildcard(std::string_view name, std::string_view pattern);

} // namespace tsen::platform::host
