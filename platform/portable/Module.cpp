// The file of the shared library that holds this code, as the dynamic loader
// knows it.
#include "platform/Platform.h"
#include "platform/common/PathConversion.h"

#include <filesystem>
#include <system_error>

#include <dlfcn.h>

namespace tsen::platform {

namespace {
// An address inside this module: dladdr names the object that contains it.
const char moduleMarker = 0;
} // namespace

std::string moduleFileName() {
  Dl_info info{};
  if (::dladdr(&moduleMarker, &info) == 0 || info.dli_fname == nullptr || *info.dli_fname == '\0') {
    return {};
  }
  const std::string loaderName = info.dli_fname;
  std::error_code error;
  std::filesystem::path path;
  if (loaderName.find('/') == std::string::npos) {
    // Linked into the main program, the loader reports the program's argv[0],
    // which may have been found through PATH.
    path = std::filesystem::read_symlink("/proc/self/exe", error);
  } else {
    // A relative name is relative to the folder the program started in; this
    // is right unless the program has changed folder since.
    path = std::filesystem::absolute(loaderName, error);
  }
  if (error) {
    return {};
  }
  return host::withBackslashes(path.lexically_normal().string());
}

} // namespace tsen::platform
