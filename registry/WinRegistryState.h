// What a registry accessor and its copies share, and the accessor's
// operations on it: the exported class and the C interface's handles both
// work through these.
#pragma once

#include "TsEnvironment.h"

#include <atomic>
#include <cstddef>
#include <string>

struct TsEnWinRegistryState {
  // The held key; null while none is held. Owned: closed when the state is
  // released or another key takes its place.
  HKEY key = nullptr;
  // The sub-key path under which Create obtained the held key; empty when
  // the key was obtained otherwise.
  std::string createdName;
  // Accessors referring to this state. Copies may end on other threads.
  std::atomic<std::size_t> references{1};

  // Closes the held key. On failure the key and created name stay.
  bool CloseKey();
};

namespace tsen::registry {

// A state holding no key, with one reference.
TsEnWinRegistryState* newState();
void share(TsEnWinRegistryState& state);
// Drops one reference; the last closes the key and frees the state.
void release(TsEnWinRegistryState* state);

bool create(TsEnWinRegistryState& state, HKEY root, const std::string& keyName);
bool openKey(TsEnWinRegistryState& state, HKEY root, const std::string& keyName, bool create);
bool readLong(const TsEnWinRegistryState& state, const std::string& valueName, TsEnLong& value);
bool readString(const TsEnWinRegistryState& state, const std::string& valueName,
                std::string& value);
bool writeLong(const TsEnWinRegistryState& state, const std::string& valueName, TsEnLong value);
bool writeString(const TsEnWinRegistryState& state, const std::string& valueName,
                 const std::string& value);

} // namespace tsen::registry
