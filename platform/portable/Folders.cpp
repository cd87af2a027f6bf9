// The file of the shared library that holds this code, as the dynamic loader
// knows it; shell folders and the temporary folder, from the XDG base
// directory variables and TMPDIR.
#include "platform/Platform.h"
#include "platform/common/HostFiles.h"
#include "platform/common/TextPieces.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include <dlfcn.h>

namespace tsen::platform {

namespace {

// An address inside this module: dladdr names the object that contains it.
const char moduleMarker = 0;

// The variable's value; nothing when unset or empty.
std::optional<std::string> variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::optional<std::string>(value) : std::nullopt;
}

} // namespace

std::string moduleFileName() {
  Dl_info info{};
  if (::dladdr(&moduleMarker, &info) == 0 || info.dli_fname == nullptr || *info.dli_fname == '\0') {
    return {};
  }
  const std::string loaderName = info.dli_fname;
  namespace fs = std::filesystem;
  std::error_code error;
  // Linked into the main program, the loader reports the program's argv[0],
  // which may have been found through PATH. A relative name is relative to
  // the folder the program started in, right unless it has changed folder.
  const fs::path path = loaderName.find('/') == std::string::npos
                            ? fs::read_symlink("/proc/self/exe", error)
                            : fs::absolute(loaderName, error);
  return error ? std::string() : host::withBackslashes(path.lexically_normal().string());
}

std::optional<std::string> knownFolder(KnownFolder folder) {
  if (folder == KnownFolder::roamingAppData) {
    // The XDG variables name absolute paths; relative ones are to be ignored.
    if (auto configHome = variable("XDG_CONFIG_HOME"); configHome && configHome->front() == '/') {
      return host::withBackslashes(*configHome);
    }
    const auto home = variable("HOME");
    return home ? std::optional(host::withBackslashes(*home + "/.config")) : std::nullopt;
  }
  const std::string dataDirs = variable("XDG_DATA_DIRS").value_or("");
  const auto folders = splitAt(dataDirs, ':');
  const auto data =
      std::ranges::find_if(folders, [](auto folder) { return folder.starts_with('/'); });
  return host::withBackslashes(std::string(data != folders.end() ? *data : "/usr/share"));
}

std::optional<std::string> tempFolder() {
  std::string folder = variable("TMPDIR").value_or("/tmp");
  // GetTempPathA ends its answer with a separator, adding one only if missing.
  return host::withBackslashes(folder.ends_with('/') ? folder : folder + '/');
}

} // namespace tsen::platform
