// What a registry accessor and its copies share.
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
