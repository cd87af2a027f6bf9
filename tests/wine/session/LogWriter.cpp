// One of several processes logging at once through the library:
//   tsen_wine_log_writer WRITER LINE-COUNT READY-SEMAPHORE START-EVENT
// Reports ready on the semaphore, waits for the event, then logs command
// "writer<WRITER>", domain "domain<WRITER>" and information "<index>-"
// followed by a padding of the writer's own letter.
#include "TsEnvironment.h"

#include <windows.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 5) {
    return 2;
  }
  const int writer = std::atoi(argv[1]);
  const int lines = std::atoi(argv[2]);
  const HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, argv[3]);
  const HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, argv[4]);
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
  const std::string command = "writer" + std::string(argv[1]);
  const std::string domain = "domain" + std::string(argv[1]);
  // Long lines make a torn write likely to show.
  const std::string padding(100, static_cast<char>('a' + writer % 26));
  for (int i = 0; i < lines; ++i) {
    LogCommandInfo(command, domain, std::to_string(i) + "-" + padding);
  }
  return 0;
}
