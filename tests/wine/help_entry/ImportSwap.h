// Points one function that a loaded module imports at a replacement for as
// long as the swap lives: the module's import address table entry for
// dll!name is rewritten, and put back afterwards. Calls the module makes
// through its imports then reach the replacement; nothing else changes.
#pragma once

#include <windows.h>

#include <cstring>

namespace tsen::testing {

template <typename Function> class ImportSwap {
public:
  ImportSwap(HMODULE module, const char* dll, const char* name, Function* replacement) {
    slot_ = findSlot(reinterpret_cast<const BYTE*>(module), dll, name);
    if (slot_) {
      original_ = *slot_;
      write(reinterpret_cast<ULONGLONG>(replacement));
    }
  }
  ~ImportSwap() {
    if (slot_) {
      write(original_);
    }
  }
  ImportSwap(const ImportSwap&) = delete;
  ImportSwap& operator=(const ImportSwap&) = delete;

  bool swapped() const { return slot_ != nullptr; }
  // The function the module imported before the swap.
  Function* original() const { return reinterpret_cast<Function*>(original_); }

private:
  // The import address table entry filled for dll!name, found through the
  // import descriptors and the names the linker kept beside the table.
  static ULONGLONG* findSlot(const BYTE* base, const char* dll, const char* name) {
    if (!base) {
      return nullptr;
    }
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
      return nullptr;
    }
    for (const auto* descriptor =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
      if (_stricmp(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0 ||
          descriptor->OriginalFirstThunk == 0) {
        continue;
      }
      const auto* names =
          reinterpret_cast<const IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
      auto* slots =
          reinterpret_cast<IMAGE_THUNK_DATA*>(const_cast<BYTE*>(base) + descriptor->FirstThunk);
      for (; names->u1.AddressOfData != 0; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
          continue;
        }
        const auto* byName =
            reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0) {
          return &slots->u1.Function;
        }
      }
    }
    return nullptr;
  }

  void write(ULONGLONG value) const {
    DWORD protection = 0;
    VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
    *slot_ = value;
    VirtualProtect(slot_, sizeof *slot_, protection, &protection);
  }

  ULONGLONG* slot_ = nullptr;
  ULONGLONG original_ = 0;
};

} // namespace tsen::testing
