// Asks the library, loaded from wherever this program was copied to, the
// questions named on the command line and prints one answer a line:
//   tsen_wine_probe app | lang | featurepack | update | resource=BASE | expand=NAME ...
// An unknown question prints "?".
#include "TsEnvironment.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::string answer(std::string_view question) {
  const auto argumentOf = [&](std::string_view prefix) {
    return std::string(question.substr(prefix.size()));
  };
  if (question == "app") {
    return TsEnGetAppPath();
  }
  if (question == "lang") {
    return TsEnGetLanguageCode();
  }
  if (question == "featurepack") {
    return std::to_string(TsEnGetCurrentVersionNumberFeaturePack());
  }
  if (question == "update") {
    return std::to_string(TsEnGetCurrentVersionNumberUpdate());
  }
  if (question.starts_with("resource=")) {
    return TsEnGetResourceName(argumentOf("resource="));
  }
  if (question.starts_with("expand=")) {
    return TsEnBuildFilename(argumentOf("expand="), TsEnBaseNone, 0);
  }
  return "?";
}

} // namespace

int main(int argc, char** argv) {
  // Line ends stay "\n", whatever the C runtime's text mode would make of them.
  _setmode(_fileno(stdout), _O_BINARY);
  for (int i = 1; i < argc; ++i) {
    const std::string line = answer(argv[i]) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
