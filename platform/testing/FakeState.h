// The test double's state, shared by its source files.
#pragma once

#include "platform/common/OpenKeys.h"
#include "platform/testing/FakeSystem.h"

#include <map>
#include <mutex>

namespace tsen::fake::detail {

// Every field at its default is the empty system.
struct FakeAnswers {
  platform::RegistryTree registry;
  bool closeKeyFails = false;
  std::optional<std::string> refusedValueName;
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
struct FakeState : FakeAnswers {
  platform::OpenKeys openKeys;
  std::mutex mutex;
};

FakeState& state();

// Calls use with the state under its lock and returns its answer.
template <class Use> decltype(auto) withState(Use&& use) {
  FakeState& s = state();
  const std::lock_guard lock(s.mutex);
  return std::forward<Use>(use)(s);
}

} // namespace tsen::fake::detail
