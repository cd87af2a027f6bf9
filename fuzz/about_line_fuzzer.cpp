// parseAboutLine on arbitrary bytes: the numbers stay within what one signed
// byte minus the digit or letter base can give, and letter case never counts.
#include "fuzz/FuzzInput.h"
#include "support/AsciiCase.h"
#include "version/AboutLine.h"

#include <algorithm>
#include <cstdint>

using tsen::fuzzing::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const tsen::FeaturePackAndUpdate parsed = tsen::parseAboutLine(line);

  check(parsed.featurePack >= -128 - 48 && parsed.featurePack <= 127 - 48);
  check(parsed.update >= -128 - 64 && parsed.update <= 127 - 64);
  // Numbers need a blank and two dots behind it.
  const auto blank = line.find(' ');
  const auto dots =
      blank == std::string_view::npos ? 0 : std::count(line.begin() + blank, line.end(), '.');
  if (dots < 2) {
    check(parsed.featurePack == 0 && parsed.update == 0);
  }
  const tsen::FeaturePackAndUpdate upper = tsen::parseAboutLine(tsen::asciiUpperCopy(line));
  check(upper.featurePack == parsed.featurePack && upper.update == parsed.update);
  return 0;
}
