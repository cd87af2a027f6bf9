// TsEnBuildFilename on arbitrary names, base folders and flags over a fixed
// machine, checking what every expansion must keep.
#include "fuzz/FuzzInput.h"

#include "TsEnvironment.h"
#include "support/AsciiCase.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

namespace {

using tsen::fuzzing::check;
using namespace tsen;

// No answer holds "<" or ">", so every "<" or ">" of a result was in the name.
void setUpMachine() {
  fake::reset();
  fake::setModuleFileName("C:\\Suite\\Binaries\\Tessaline.Environment.dll");
  fake::setKnownFolder(platform::KnownFolder::roamingAppData, "C:\\Roaming");
  fake::setKnownFolder(platform::KnownFolder::commonFiles, "C:\\Common");
  fake::setTempFolder("C:\\Temp\\");
  const char* kernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";
  fake::setString(platform::kCurrentUser, kernel, "Current Config", "Road");
  fake::setString(platform::kCurrentUser, kernel, "Language", "NOR");
}

// What each base folder puts in front of a name; nothing for any other number.
std::string prefixOf(int base) {
  const char* const prefixes[] = {"",
                                  "C:\\Suite\\",
                                  "C:\\Roaming\\Quarzel\\Tessaline\\18.40\\Road\\",
                                  "C:\\Suite\\Resources\\",
                                  "C:\\Suite\\Binaries\\",
                                  "C:\\Suite\\AutoCAD\\",
                                  "C:\\Temp\\"};
  static_assert(TsEnBaseAppPath == 1 && TsEnBaseTemp == 6);
  return base > 0 && base < int(std::size(prefixes)) ? prefixes[base] : "";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] static const bool ready = (setUpMachine(), true);

  FuzzedDataProvider input(data, size);
  // Mostly the meaningful values, sometimes any.
  const int base =
      input.ConsumeBool() ? input.ConsumeIntegralInRange(-1, 7) : input.ConsumeIntegral<int>();
  const int flags = input.ConsumeIntegral<int>();
  const std::string name = input.ConsumeRemainingBytesAsString();

  const int messagesBefore = fake::calls().messageBox;
  const std::string result = TsEnBuildFilename(name, base, flags);
  const int messages = fake::calls().messageBox - messagesBefore;

  check(std::count(result.begin(), result.end(), '<') <= std::count(name.begin(), name.end(), '<'));
  check(std::count(result.begin(), result.end(), '>') <= std::count(name.begin(), name.end(), '>'));
  const bool mayHoldTokens = name.find('<') != std::string::npos;
  if (!mayHoldTokens && (flags & (TsEnLangAtMarker | TsEnLangSubfolder)) == 0) {
    check(result == prefixOf(base) + name);
  }
  check(messages <= 1);
  if (messages == 1) {
    check(asciiUpperCopy(name).find("<DEFAULTCONFIG>") != std::string::npos);
    const auto shown = fake::messageBoxes();
    check(shown.back().caption == "Tessaline" && shown.back().style == 0x30 &&
          shown.back().text.size() <= 1023 &&
          shown.back().text.starts_with("Unable to find the file/directory \""));
    // Keeps the captured messages from piling up over a long run.
    setUpMachine();
  }
  return 0;
}
