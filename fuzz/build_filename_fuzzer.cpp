// TsEnBuildFilename on arbitrary names, base folders and flags over a fixed
// machine, checking what every expansion must keep.
#include "fuzz/FuzzInput.h"
#include "support/AsciiCase.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

namespace {

using tsen::fuzzing::check;
using namespace tsen;

// No answer holds "<" or ">", so every "<" or ">" of a result was in the name.
void setUpMachine() {
  const char* kernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";
  fake::reset();
  fake::setModuleFileName("C:\\Suite\\Binaries\\Tessaline.Environment.dll");
  fake::setKnownFolder(platform::KnownFolder::roamingAppData, "C:\\Roaming");
  fake::setKnownFolder(platform::KnownFolder::commonFiles, "C:\\Common");
  fake::setTempFolder("C:\\Temp\\");
  fake::setString(platform::kCurrentUser, kernel, "Current Config", "Road");
  fake::setString(platform::kCurrentUser, kernel, "Language", "NOR");
}

// What each base folder puts in front of a name; nothing for any other number.
std::string prefixOf(int base) {
  const char* const prefixes[] = {"C:\\Suite\\",
                                  "C:\\Roaming\\Quarzel\\Tessaline\\18.40\\Road\\",
                                  "C:\\Suite\\Resources\\",
                                  "C:\\Suite\\Binaries\\",
                                  "C:\\Suite\\AutoCAD\\",
                                  "C:\\Temp\\"};
  static_assert(TsEnBaseAppPath == 1 && TsEnBaseTemp == 6);
  return base >= TsEnBaseAppPath && base <= TsEnBaseTemp ? prefixes[base - 1] : "";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool ready = (setUpMachine(), true);
  FuzzedDataProvider input(data, size);
  // Mostly the meaningful base folders, sometimes any number.
  const int base =
      input.ConsumeBool() ? input.ConsumeIntegralInRange(-1, 7) : input.ConsumeIntegral<int>();
  const int flags = input.ConsumeIntegral<int>();
  const std::string name = input.ConsumeRemainingBytesAsString();

  const std::string result = TsEnBuildFilename(name, base, flags);
  for (const char bracket : {'<', '>'}) {
    check(std::count(result.begin(), result.end(), bracket) <=
          std::count(name.begin(), name.end(), bracket));
  }
  if (name.find('<') == std::string::npos &&
      (flags & (TsEnLangAtMarker | TsEnLangSubfolder)) == 0) {
    check(result == prefixOf(base) + name);
  }
  const auto shown = fake::messageBoxes();
  check(shown.size() <= 1);
  if (!shown.empty()) {
    check(asciiUpperCopy(name).find("<DEFAULTCONFIG>") != std::string::npos);
    check(shown[0].caption == "Tessaline" && shown[0].style == 0x30 &&
          shown[0].text.size() <= 1023 &&
          shown[0].text.starts_with("Unable to find the file/directory \""));
    setUpMachine(); // so the captured messages never pile up
  }
  return 0;
}
