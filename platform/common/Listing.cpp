// Directory listings with a wildcard, as FindFirstFileA / FindNextFileA hand
// them out: every entry whose name matches, folders included, in the order
// the file system keeps them.
#include "platform/Platform.h"
#include "platform/common/PathConversion.h"
#include "support/AsciiCase.h"

#include <memory>
#include <string_view>

#include <dirent.h>

namespace tsen::platform {

namespace {

struct DirectoryCloser {
  void operator()(DIR* directory) const noexcept { ::closedir(directory); }
};

// '*' stands for any run of characters and '?' for exactly one; letters
// match in either case (ASCII). A greedy scan that backtracks to the last
// '*' only: linear in practice and never recursive, whatever the pattern.
bool matchesWildcard(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0, starPattern = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || asciiLower(pattern[p]) == asciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

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
    if (matchesWildcard(entryName, listing.pattern)) {
      name = entryName;
      return true;
    }
  }
  return false;
}

UniqueListing openListing(const std::string& pattern, std::string& firstName) {
  const std::string hostPattern = host::withSlashes(pattern);
  const auto slash = hostPattern.rfind('/');
  std::string folder = ".";
  if (slash == 0) {
    folder = "/";
  } else if (slash != std::string::npos) {
    folder = hostPattern.substr(0, slash);
  }
  auto listing = std::make_unique<Listing>();
  listing->directory.reset(::opendir(folder.c_str()));
  if (!listing->directory) {
    return nullptr;
  }
  listing->pattern = slash == std::string::npos ? hostPattern : hostPattern.substr(slash + 1);
  std::string name;
  if (!nextInListing(*listing, name)) {
    return nullptr;
  }
  firstName = std::move(name);
  return UniqueListing(listing.release());
}

} // namespace tsen::platform
