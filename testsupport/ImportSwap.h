// Points a loaded module's import of dll!name at a replacement while the
// swap lives (Windows only). The Wine tests and the timing program record
// the library's shell calls and message boxes with it.
#pragma once

#include <windows.h>

#include <cstring>

namespace tsen::testsupport {

template <typename Function> class ImportSwap {
public:
  ImportSwap(HMODULE module, const char* dll, const char* name, Function* replacement)
      : slot_(findSlot(reinterpret_cast<BYTE*>(module), dll, name)), original_(slot_ ? *slot_ : 0) {
    write(reinterpret_cast<ULONGLONG>(replacement));
  }
  ~ImportSwap() { write(original_); }

  bool swapped() const { return slot_ != nullptr; }

private:
  static ULONGLONG* findSlot(BYTE* base, const char* dll, const char* name) {
    const auto* nt = base ? reinterpret_cast<const IMAGE_NT_HEADERS*>(
                                base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew)
                          : nullptr;
    const DWORD imports =
        nt ? nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress : 0;
    for (auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports);
         imports != 0 && descriptor->Name != 0; ++descriptor) {
      if (_stricmp(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0 ||
          descriptor->OriginalFirstThunk == 0) {
        continue;
      }
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
      for (auto* names =
               reinterpret_cast<const IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
           names->u1.AddressOfData != 0; ++names, ++slots) {
        if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) &&
            std::strcmp(
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name,
                name) == 0) {
          return &slots->u1.Function;
        }
      }
    }
    return nullptr;
  }

  void write(ULONGLONG value) const {
    DWORD protection = 0;
    if (slot_ && VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection)) {
      *slot_ = value;
      VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    }
  }

  ULONGLONG* slot_;
  ULONGLONG original_;
};

} // namespace tsen::testsupport
