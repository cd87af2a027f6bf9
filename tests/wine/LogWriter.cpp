// tsen_log_writer W LINES NAME: logs LINES lines as writer W of several
// started together: releases the semaphore NAME-ready, then waits for the
// event NAME-start.
#include "TsEnvironment.h"

#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  const std::string name = argc == 4 ? argv[3] : "";
  const HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, (name + "-ready").c_str());
  const HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, (name + "-start").c_str());
  if (!ready || !start || !ReleaseSemaphore(ready, 1, nullptr) ||
      WaitForSingleObject(start, 60000) != WAIT_OBJECT_0) {
    return 3;
  }
  // Long lines make a torn write likely to show.
  const std::string writer = argv[1], padding(100, static_cast<char>('a' + std::stoi(writer)));
  for (int i = 0; i < std::stoi(argv[2]); ++i) {
    LogCommandInfo("writer" + writer, "domain" + writer, std::to_string(i) + "-" + padding);
  }
  return 0;
}
