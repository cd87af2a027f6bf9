// Letter case as Windows compares registry and file names: ASCII letters only,
// whatever the locale.
#pragma once

#include "support/AsciiCase.h"

#include <algorithm>
#include <string_view>

namespace tsen::platform::portable {

// Orders names without regard to case; transparent, so maps keyed by the
// name as stored can be searched with any spelling.
struct IgnoringCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return std::ranges::lexicographical_compare(a, b, [](char x, char y) {
      return static_cast<unsigned char>(asciiLower(x)) < static_cast<unsigned char>(asciiLower(y));
    });
  }
};

} // namespace tsen::platform::portable
