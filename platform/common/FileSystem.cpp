// The file-system part of the platform interface on a POSIX host, shared by
// the portable backend and the test double, which both work on real files.
// Listings match as FindFirstFileA / FindNextFileA hand them out: every
// entry whose name matches, folders included, in the file system's order.
#include "platform/Platform.h"
#include "platform/common/HostFiles.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tsen::platform {

using namespace host;

namespace {

struct DirectoryCloser {
  void operator()(DIR* directory) const noexcept { ::closedir(directory); }
};

bool hasExtension(std::string_view fileName) {
  const auto nameStart = fileName.find_last_of("\\/");
  const auto dot = fileName.rfind('.');
  return dot != std::string_view::npos && (nameStart == std::string_view::npos || dot > nameStart);
}

} // namespace

bool pathFileExists(const std::string& path) {
  struct stat status {};
  return ::stat(withSlashes(path).c_str(), &status) == 0;
}

bool canRead(const std::string& path) {
  return ::access(withSlashes(path).c_str(), R_OK) == 0;
}

bool createFolders(const std::string& path) {
  std::string hostPath = withSlashes(path);
  // "a/b/" names the folder a/b; a trailing separator would leave the last
  // element empty.
  while (hostPath.size() > 1 && hostPath.back() == '/') {
    hostPath.pop_back();
  }
  if (hostPath.empty()) {
    return false;
  }
  std::error_code error;
  return std::filesystem::create_directories(hostPath, error) && !error;
}

std::uint32_t searchPath(const char* folder, const char* fileName, const char* extension,
                         std::uint32_t bufferSize, char* buffer) {
  if (fileName == nullptr || *fileName == '\0') {
    return 0;
  }
  std::string name = fileName;
  if (extension != nullptr && !hasExtension(name)) {
    name += extension;
  }
  const std::string searchFolder = folder != nullptr && *folder != '\0' ? folder : ".";
  std::error_code error;
  const auto candidate =
      std::filesystem::absolute(withSlashes(searchFolder + '\\' + name), error).lexically_normal();
  if (error || !std::filesystem::exists(candidate, error)) {
    return 0;
  }
  const std::string found = withBackslashes(candidate.string());
  const auto length = static_cast<std::uint32_t>(found.size());
  if (length >= bufferSize || buffer == nullptr) {
    return length + 1;
  }
  found.copy(buffer, found.size());
  buffer[length] = '\0';
  return length;
}

UniqueFile openFile(const std::string& path, const char* mode) {
  UniqueFile file(std::fopen(withSlashes(path).c_str(), mode));
  // A folder opens here but not on Windows, where readers rely on it failing.
  struct stat status {};
  if (file && ::fstat(::fileno(file.get()), &status) == 0 && S_ISDIR(status.st_mode)) {
    file.reset();
  }
  return file;
}

bool appendToFile(const std::string& path, std::string_view text) {
  const FileDescriptor file(
      ::open(withSlashes(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
  if (!file.isOpen()) {
    return false;
  }
  lockExclusive(file.get()); // until the file closes
  return writeWhole(file.get(), text);
}

bool localTime(std::time_t t, std::tm& local) {
  return ::localtime_r(&t, &local) != nullptr;
}

struct Listing {
  std::unique_ptr<DIR, DirectoryCloser> directory;
  std::string pattern;
};

void ListingCloser::operator()(Listing* listing) const noexcept {
  std::default_delete<Listing>{}(listing);
}

bool nextInListing(Listing& listing, std::string& name) {
  while (const dirent* entry = ::readdir(listing.directory.get())) {
    const std::string_view entryName = entry->d_name;
    // '*' and '?' as the find calls read them, letters in either case.
    if (entryName != "." && entryName != ".." &&
        ::fnmatch(listing.pattern.c_str(), entry->d_name, FNM_NOESCAPE | FNM_CASEFOLD) == 0) {
      name = entryName;
      return true;
    }
  }
  return false;
}

UniqueListing openListing(const std::string& pattern, std::string& firstName) {
  const std::string hostPattern = withSlashes(pattern);
  const auto slash = hostPattern.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : hostPattern.substr(0, slash);
  auto listing = std::make_unique<Listing>();
  listing->directory.reset(::opendir(folder.c_str()));
  listing->pattern = hostPattern.substr(slash == std::string::npos ? 0 : slash + 1);
  if (!listing->directory || !nextInListing(*listing, firstName)) {
    return nullptr;
  }
  return UniqueListing(listing.release());
}

} // namespace tsen::platform
