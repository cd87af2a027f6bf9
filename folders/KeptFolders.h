// The folders kept once found, answered by reference so that the C interface can
// hand the kept text out without copying it.
#pragma once

#include <string>

namespace tsen {

// Each answers the kept text, or, before one is kept, the text it found in
// found, which then also holds it (empty when nothing was found).
const std::string& appPath(std::string& found);
const std::string& myTessalinePath(std::string& found);

// The Kernel Services value naming the My Tessaline folder.
inline constexpr const char* kMyTessalineValue = "My Tessaline Directory";

} // namespace tsen
