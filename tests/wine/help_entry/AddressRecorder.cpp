// AddressRecorder.exe <record file> <address>: appends the address as a line.
#include <cstdio>

int main(int argc, char** argv) {
  std::FILE* out = argc == 3 ? std::fopen(argv[1], "ab") : nullptr;
  if (!out) {
    return 1;
  }
  const bool written = std::fprintf(out, "%s\n", argv[2]) > 0;
  return std::fclose(out) == 0 && written ? 0 : 1;
}
