// The library, loaded from wherever this program was copied to, asked from
// a process of its own. Either answers the questions named on the command
// line, one a line, in FILE ("?" for an unknown one):
//   tsen_wine_probe FILE app | featurepack | update | resource=BASE | expand=NAME ...
// or is one of several processes logging at once:
//   tsen_wine_probe --log WRITER LINE-COUNT READY-SEMAPHORE START-EVENT
// reports ready on the semaphore, waits for the event, then logs command
// "writer<WRITER>", domain "domain<WRITER>" and information "<index>-"
// followed by a padding of the writer's own letter.
#include "TsEnvironment.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string answer(std::string_view question) {
  if (question == "app") {
    return TsEnGetAppPath();
  }
  if (question == "featurepack") {
    return std::to_string(TsEnGetCurrentVersionNumberFeaturePack());
  }
  if (question == "update") {
    return std::to_string(TsEnGetCurrentVersionNumberUpdate());
  }
  if (question.starts_with("resource=")) {
    return TsEnGetResourceName(std::string(question.substr(9)));
  }
  if (question.starts_with("expand=")) {
    return TsEnBuildFilename(std::string(question.substr(7)), TsEnBaseNone, 0);
  }
  return "?";
}

int logLines(char** argv) {
  const int writer = std::atoi(argv[2]);
  const int lines = std::atoi(argv[3]);
  const HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, argv[4]);
  const HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, argv[5]);
  if (!ready || !start) {
    return 3;
  }
  ReleaseSemaphore(ready, 1, nullptr);
  const bool started = WaitForSingleObject(start, 60000) == WAIT_OBJECT_0;
  CloseHandle(ready);
  CloseHandle(start);
  if (!started) {
    return 4;
  }
  const std::string command = "writer" + std::string(argv[2]);
  const std::string domain = "domain" + std::string(argv[2]);
  // Long lines make a torn write likely to show.
  const std::string padding(100, static_cast<char>('a' + writer % 26));
  for (int i = 0; i < lines; ++i) {
    LogCommandInfo(command, domain, std::to_string(i) + "-" + padding);
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::string_view(argv[1]) == "--log") {
    return logLines(argv);
  }
  std::FILE* out = argc > 1 ? std::fopen(argv[1], "wb") : nullptr;
  if (!out) {
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    const std::string line = answer(argv[i]) + "\n";
    std::fwrite(line.data(), 1, line.size(), out);
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
