// The feature pack and update written in the first line of the About file.
#pragma once

#include <string_view>

namespace tsen {

struct FeaturePackAndUpdate {
  int featurePack = 0;
  int update = 0;
};

// Reads "word version" where the version's third dot-separated component is
// an optional "SP"/"FP", then an update letter or a feature pack digit and
// an update letter. Whatever does not fit gives zeros.
FeaturePackAndUpdate parseAboutLine(std::string_view line);

inline constexpr std::string_view kAboutFile = "Base\\About\\1_Tessaline_Version.txt";

} // namespace tsen
