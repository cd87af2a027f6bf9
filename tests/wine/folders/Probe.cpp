// The library asked from a process of its own, loaded from wherever this
// program was copied to. Writes the answers, one a line, to FILE:
//   tsen_wine_probe FILE app | version | resource=BASE | expand=NAME ...
// or, as one of several processes logging at once, releases the semaphore
// NAME-ready, waits for the event NAME-start, then logs LINES lines:
//   tsen_wine_probe --log W LINES NAME
#include "TsEnvironment.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string answer(const std::string& question) {
  if (question == "app") {
    return TsEnGetAppPath();
  }
  if (question == "version") {
    return std::to_string(TsEnGetCurrentVersionNumberFeaturePack()) + " " +
           std::to_string(TsEnGetCurrentVersionNumberUpdate());
  }
  return question.starts_with("resource=")
             ? TsEnGetResourceName(question.substr(9))
             : TsEnBuildFilename(question.substr(question.find('=') + 1), TsEnBaseNone, 0);
}

int logLines(const std::string& writer, int lines, const std::string& name) {
  const HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, (name + "-ready").c_str());
  const HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, (name + "-start").c_str());
  if (!ready || !start || !ReleaseSemaphore(ready, 1, nullptr) ||
      WaitForSingleObject(start, 60000) != WAIT_OBJECT_0) {
    return 3;
  }
  // Long lines make a torn write likely to show.
  const std::string padding(100, static_cast<char>('a' + std::atoi(writer.c_str()) % 26));
  for (int i = 0; i < lines; ++i) {
    LogCommandInfo("writer" + writer, "domain" + writer, std::to_string(i) + "-" + padding);
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string_view(argv[1]) == "--log") {
    return logLines(argv[2], std::atoi(argv[3]), argv[4]);
  }
  std::FILE* out = argc > 1 ? std::fopen(argv[1], "wb") : nullptr;
  if (!out) {
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    std::fprintf(out, "%s\n", answer(argv[i]).c_str());
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
