// The test double's state, shared by its source files.
#pragma once

#include "platform/testing/FakeSystem.h"

#include <map>
#include <mutex>

namespace tsen::fake::detail {

struct FakeKey {
  // Values by upper-cased name; the name as first written is kept beside.
  std::map<std::string, std::pair<std::string, RegistryValue>> values;
};

struct FakeState {
  std::mutex mutex;
  // Keys by their full upper-cased path, beginning with the root's number.
  std::map<std::string, FakeKey> keys;
  // Open handles and the key path each refers to.
  std::map<std::uintptr_t, std::string> handles;
  std::uintptr_t nextHandle = 0x1000;
  bool closeKeyFails = false;
  std::string refusedValueName; // upper-cased

  std::string moduleFileName;
  std::map<KnownFolder, std::string> knownFolders;
  std::optional<std::string> tempFolder;
  std::vector<MessageBoxCall> messageBoxes;
  std::vector<std::string> shellOpens;
  std::intptr_t shellResult = 42;
  std::vector<HelpCall> helpCalls;
  std::function<bool(const HelpCall&)> helpAnswer;
  CallCounts calls;
};

FakeState& state();

} // namespace tsen::fake::detail
