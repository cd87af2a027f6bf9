// The library loaded from wherever this program was copied to:
//   tsen_wine_probe FILE            writes the application folder to FILE
//   tsen_wine_probe --log W LINES NAME
// logs LINES lines as one of several writers, started together: releases
// the semaphore NAME-ready, then waits for the event NAME-start.
#include "TsEnvironment.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
  if (argc == 5 && std::string_view(argv[1]) == "--log") {
    const std::string writer = argv[2], name = argv[4];
    const HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, (name + "-ready").c_str());
    const HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, (name + "-start").c_str());
    if (!ready || !start || !ReleaseSemaphore(ready, 1, nullptr) ||
        WaitForSingleObject(start, 60000) != WAIT_OBJECT_0) {
      return 3;
    }
    // Long lines make a torn write likely to show.
    const std::string padding(100, static_cast<char>('a' + std::atoi(argv[2])));
    for (int i = 0; i < std::atoi(argv[3]); ++i) {
      LogCommandInfo("writer" + writer, "domain" + writer, std::to_string(i) + "-" + padding);
    }
    return 0;
  }
  std::FILE* out = argc == 2 ? std::fopen(argv[1], "wb") : nullptr;
  return out && std::fputs(TsEnGetAppPath().c_str(), out) >= 0 && std::fclose(out) == 0 ? 0 : 1;
}
