// The language code kept once read, answered by reference so that the C
// interface can hand the kept text out without copying it.
#pragma once

#include <string>

namespace tsen {

// The kept code, or, before one is kept, the code read into found (empty
// when none is stored).
const std::string& languageCode(std::string& found);

} // namespace tsen
