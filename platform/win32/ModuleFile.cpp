// The file of the module this code is linked into.
#include "platform/Platform.h"

#include "platform/win32/GrowingBuffer.h"

#include <windows.h>

// The linker places this at the base of every image: in the library it names
// the library itself, whichever program loaded it.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace tsen::platform {

std::string moduleFileName() {
  const auto thisModule = reinterpret_cast<HMODULE>(&__ImageBase);
  // A truncated name comes back as long as the buffer; that grows it.
  return win32::readGrowing([thisModule](char* buffer, DWORD capacity) {
           return GetModuleFileNameA(thisModule, buffer, capacity);
         })
      .value_or(std::string());
}

} // namespace tsen::platform
