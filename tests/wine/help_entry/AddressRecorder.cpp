// The program registered for a test's own address scheme:
//   AddressRecorder.exe <record file> <address>
// appends the address it was given, and a line feed, to the record file.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    return 2;
  }
  std::FILE* out = std::fopen(argv[1], "ab");
  if (!out) {
    return 1;
  }
  const std::string line = std::string(argv[2]) + "\n";
  const bool written = std::fwrite(line.data(), 1, line.size(), out) == line.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}
