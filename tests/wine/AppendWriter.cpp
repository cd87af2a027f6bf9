// Appends numbered lines to a file through the platform layer, as one of
// several processes writing the same log:
//   tsen_append_writer FILE WRITER-ID LINE-COUNT READY-SEMAPHORE START-EVENT
// It reports ready on the semaphore and waits for the event, so that all
// writers write at the same time.
#include "platform/Platform.h"

#include <windows.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 6) {
    return 2;
  }
  const std::string file = argv[1];
  const std::string writer = argv[2];
  const int lines = std::atoi(argv[3]);
  const HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, argv[4]);
  const HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, argv[5]);
  if (!ready || !start) {
    return 3;
  }
  ReleaseSemaphore(ready, 1, nullptr);
  WaitForSingleObject(start, INFINITE);
  CloseHandle(ready);
  CloseHandle(start);

  // Long lines make a torn write likely to show.
  const std::string padding(120, static_cast<char>('a' + std::atoi(argv[2]) % 26));
  for (int i = 0; i < lines; ++i) {
    const std::string line = writer + ";" + std::to_string(i) + ";" + padding + "\r\n";
    if (!tsen::platform::appendToFile(file, line)) {
      return 1;
    }
  }
  return 0;
}
