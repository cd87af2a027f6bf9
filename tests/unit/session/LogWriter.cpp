// Appends lines to the command log from a process of its own, for the test of
// several writers at once:
//   session_log_writer <roaming folder> <configuration> <writer name> <lines>
// Each line is "<writer name>;<time>;Road;<index>". Writing starts when
// standard input ends, so that a parent can release every writer at once.
#include "TsEnvironment.h"
#include "platform/testing/FakeSystem.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: session_log_writer <roaming> <config> <writer> <lines>\n", stderr);
    return 2;
  }
  tsen::fake::reset();
  tsen::fake::setKnownFolder(tsen::fake::KnownFolder::roamingAppData, argv[1]);
  tsen::fake::setString(tsen::platform::kCurrentUser,
                        "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services", "Current Config",
                        argv[2]);
  const std::string writer = argv[3];
  const int lines = std::atoi(argv[4]);
  while (std::getchar() != EOF) {
  }
  for (int index = 0; index < lines; ++index) {
    LogCommandInfo(writer, "Road", std::to_string(index));
  }
  return 0;
}
