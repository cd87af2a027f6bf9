// The registry accessor: one held key, shared by copies.
#include "registry/WinRegistryState.h"

#include "platform/Platform.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>

static_assert(sizeof(TsEnLong) == 4, "registry integers are 32 bits wide");
// Modules are built against this layout: the vtable pointer and the state.
static_assert(sizeof(TsEnWinRegistry) == 2 * sizeof(void*), "the accessor holds one pointer");

namespace {

// Opens keyName below root into the state; on failure the state holds no key.
bool openInto(TsEnWinRegistryState& state, HKEY root, const std::string& keyName) {
  HKEY opened = nullptr;
  const bool done = tsen::platform::regOpenKey(root, keyName.c_str(), opened);
  state.key = done ? opened : nullptr;
  return done;
}

} // namespace

bool TsEnWinRegistryState::CloseKey() {
  if (key == nullptr) {
    return true;
  }
  if (!tsen::platform::regCloseKey(key)) {
    return false;
  }
  key = nullptr;
  createdName.clear();
  return true;
}

namespace tsen::registry {

TsEnWinRegistryState* newState() {
  return new TsEnWinRegistryState;
}

void share(TsEnWinRegistryState& state) {
  state.references.fetch_add(1, std::memory_order_relaxed);
}

void release(TsEnWinRegistryState* state) {
  if (state->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
    state->CloseKey();
    delete state;
  }
}

bool create(TsEnWinRegistryState& state, HKEY root, const std::string& keyName) {
  if (keyName == state.createdName) {
    return true;
  }
  state.CloseKey();
  HKEY created = nullptr;
  const bool done = tsen::platform::regCreateKey(root, keyName.c_str(), created);
  state.key = done ? created : nullptr;
  state.createdName = done ? keyName : std::string();
  return done;
}

bool openKey(TsEnWinRegistryState& state, HKEY root, const std::string& keyName, bool create) {
  state.CloseKey();
  state.createdName.clear();
  if (openInto(state, root, keyName)) {
    return true;
  }
  if (!create || !registry::create(state, root, keyName)) {
    return false;
  }
  // Hand out the key as opened, not as created, like every other open.
  state.CloseKey();
  state.createdName.clear();
  return openInto(state, root, keyName);
}

bool readLong(const TsEnWinRegistryState& state, const std::string& valueName, TsEnLong& value) {
  if (state.key == nullptr) {
    return false;
  }
  std::uint32_t size = sizeof(value);
  return tsen::platform::regQueryValue(state.key, valueName.c_str(), nullptr, &value, size);
}

bool readString(const TsEnWinRegistryState& state, const std::string& valueName,
                std::string& value) {
  if (state.key == nullptr) {
    return false;
  }
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (!tsen::platform::regQueryValue(state.key, valueName.c_str(), &type, nullptr, size)) {
    return false;
  }
  std::string data;
  try {
    data.resize(size);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!tsen::platform::regQueryValue(state.key, valueName.c_str(), &type, data.data(), size)) {
    return false;
  }
  data.resize(std::min<std::size_t>(size, data.find('\0')));
  value = std::move(data);
  return true;
}

bool writeLong(const TsEnWinRegistryState& state, const std::string& valueName, TsEnLong value) {
  return tsen::platform::regSetValue(state.key, valueName.c_str(), tsen::platform::kRegDword,
                                     &value, sizeof(value));
}

bool writeString(const TsEnWinRegistryState& state, const std::string& valueName,
                 const std::string& value) {
  if (value.size() >= std::numeric_limits<std::uint32_t>::max()) {
    return false;
  }
  return tsen::platform::regSetValue(state.key, valueName.c_str(), tsen::platform::kRegSz,
                                     value.c_str(), static_cast<std::uint32_t>(value.size() + 1));
}

} // namespace tsen::registry

TsEnWinRegistry::TsEnWinRegistry() : state_(tsen::registry::newState()) {}

TsEnWinRegistry::TsEnWinRegistry(const TsEnWinRegistry& other) : state_(other.state_) {
  tsen::registry::share(*state_);
}

TsEnWinRegistry& TsEnWinRegistry::operator=(const TsEnWinRegistry& other) {
  // Taking the new reference first keeps self-assignment and assignment
  // between copies of one state harmless.
  tsen::registry::share(*other.state_);
  tsen::registry::release(state_);
  state_ = other.state_;
  return *this;
}

TsEnWinRegistry::~TsEnWinRegistry() {
  tsen::registry::release(state_);
}

bool TsEnWinRegistry::Create(HKEY root, std::string keyName) {
  return tsen::registry::create(*state_, root, keyName);
}

bool TsEnWinRegistry::OpenKey(HKEY root, std::string keyName, bool create) {
  return tsen::registry::openKey(*state_, root, keyName, create);
}

bool TsEnWinRegistry::ReadLong(std::string valueName, TsEnLong& value) {
  return tsen::registry::readLong(*state_, valueName, value);
}

bool TsEnWinRegistry::ReadString(std::string valueName, std::string& value) {
  return tsen::registry::readString(*state_, valueName, value);
}

bool TsEnWinRegistry::WriteLong(std::string valueName, TsEnLong value) {
  return tsen::registry::writeLong(*state_, valueName, value);
}

bool TsEnWinRegistry::WriteString(std::string valueName, std::string value) {
  return tsen::registry::writeString(*state_, valueName, value);
}
