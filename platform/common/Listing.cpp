// Directory listings with a wildcard, as FindFirstFileA / FindNextFileA hand
// them out: every entry whose name matches, folders included, in the order
// the file system keeps them.
#include "platform/Platform.h"
#include "platform/common/PathConversion.h"

#include <memory>
#include <string_view>

#include <dirent.h>
#include <fnmatch.h>

namespace tsen::platform {

namespace {

struct DirectoryCloser {
  void operator()(DIR* directory) const noexcept { ::closedir(directory); }
};

} // namespace

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
    if (entryName == "." || entryName == "..") {
      continue;
    }
    // '*' and '?' as the find calls read them, letters in either case.
    if (::fnmatch(listing.pattern.c_str(), entry->d_name, FNM_NOESCAPE | FNM_CASEFOLD) == 0) {
      name = entryName;
      return true;
    }
  }
  return false;
}

UniqueListing openListing(const std::string& pattern, std::string& firstName) {
  const std::string hostPattern = host::withSlashes(pattern);
  const auto slash = hostPattern.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : hostPattern.substr(0, slash);
  auto listing = std::make_unique<Listing>();
  listing->directory.reset(::opendir(folder.c_str()));
  listing->pattern = hostPattern.substr(slash == std::string::npos ? 0 : slash + 1);
  std::string name;
  if (!listing->directory || !nextInListing(*listing, name)) {
    return nullptr;
  }
  firstName = std::move(name);
  return UniqueListing(listing.release());
}

} // namespace tsen::platform
