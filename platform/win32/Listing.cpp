// Directory listings over the find calls.
#include "platform/Platform.h"

#include "platform/win32/Handles.h"

#include <windows.h>

namespace tsen::platform {

struct Listing {
  win32::UniqueFind find;
};

void ListingCloser::operator()(Listing* listing) const noexcept {
  std::default_delete<Listing>()(listing);
}

UniqueListing openListing(const std::string& pattern, std::string& firstName) {
  WIN32_FIND_DATAA found{};
  auto find = win32::ownValidHandle<win32::UniqueFind>(FindFirstFileA(pattern.c_str(), &found));
  if (!find) {
    return nullptr;
  }
  firstName = found.cFileName;
  return UniqueListing(std::make_unique<Listing>(Listing{std::move(find)}).release());
}

bool nextInListing(Listing& listing, std::string& name) {
  WIN32_FIND_DATAA found{};
  if (!FindNextFileA(listing.find.get(), &found)) {
    return false;
  }
  name = found.cFileName;
  return true;
}

} // namespace tsen::platform
