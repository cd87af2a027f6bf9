// The two registry layouts as tests plant them: the connection flag that
// selects each, its keys, and the folder segment of its per-user folders.
#pragma once

#include "tests/wine/ProductKeysGuard.h"
#include "tests/wine/RawRegistry.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace tsen::testing {

struct Layout {
  const char* name;
  DWORD flag;
  const char* root;
  const char* kernelKey;
  const char* folderSegment;
};

inline constexpr Layout kLayout1840{"Layout1840", 0, kRoot1840, kKernel1840, "18.40"};
inline constexpr Layout kLayout1901{"Layout1901", 1, kRoot1901, kKernel1901, "19.01\\RA_Zora"};

inline bool select(const Layout& layout) {
  return setFlag(layout.flag);
}

// A string value of the layout's Kernel Services key, stored with its NUL.
inline bool setKernelValue(const Layout& layout, const char* valueName, std::string_view text) {
  return writeRaw(HKEY_CURRENT_USER, layout.kernelKey, valueName, REG_SZ,
                  bytesOf(std::string(text) + '\0'));
}

// The per-user folder of a configuration below a base folder, as the layout
// names it.
inline std::string configurationFolder(const std::string& base, const Layout& layout,
                                       const std::string& config) {
  return base + "\\Quarzel\\Tessaline\\" + layout.folderSegment + "\\" + config;
}

} // namespace tsen::testing
