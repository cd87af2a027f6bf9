// The test double's system answers and captured user interface.
#include "platform/testing/FakeState.h"

namespace tsen::fake::detail {

FakeState& state() {
  static FakeState instance;
  return instance;
}

} // namespace tsen::fake::detail

namespace tsen::platform {

using fake::detail::state;

std::string moduleFileName() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.moduleFileName;
  return s.moduleFileName;
}

std::optional<std::string> knownFolder(KnownFolder folder) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.knownFolder;
  auto found = s.knownFolders.find(folder);
  if (found == s.knownFolders.end()) {
    return std::nullopt;
  }
  return found->second;
}

std::optional<std::string> tempFolder() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.tempFolder;
  return s.tempFolder;
}

int messageBox(const std::string& text, const std::string& caption, unsigned style) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.messageBox;
  s.messageBoxes.push_back({text, caption, style});
  return 1; // IDOK
}

std::intptr_t shellOpen(const std::string& address) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.shellOpen;
  s.shellOpens.push_back(address);
  return s.shellResult;
}

bool htmlHelp(const std::string& file, unsigned command, std::intptr_t data) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  ++s.calls.htmlHelp;
  s.helpCalls.push_back({file, command, data});
  return s.helpAnswer && s.helpAnswer(s.helpCalls.back());
}

} // namespace tsen::platform

namespace tsen::fake {

using detail::state;

void reset() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.registry = {};
  s.openKeys.clear();
  s.closeKeyFails = false;
  s.refusedValueName.reset();
  s.moduleFileName.clear();
  s.knownFolders.clear();
  s.tempFolder.reset();
  s.messageBoxes.clear();
  s.shellOpens.clear();
  s.shellResult = 42;
  s.helpCalls.clear();
  s.helpAnswer = nullptr;
  s.calls = {};
}

void setModuleFileName(std::string fileName) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.moduleFileName = std::move(fileName);
}

void setKnownFolder(KnownFolder folder, std::optional<std::string> path) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  if (path) {
    s.knownFolders[folder] = std::move(*path);
  } else {
    s.knownFolders.erase(folder);
  }
}

void setTempFolder(std::optional<std::string> path) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.tempFolder = std::move(path);
}

std::vector<MessageBoxCall> messageBoxes() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.messageBoxes;
}

std::vector<std::string> shellOpens() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.shellOpens;
}

void setShellResult(std::intptr_t result) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.shellResult = result;
}

std::vector<HelpCall> helpCalls() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.helpCalls;
}

void setHelpAnswer(std::function<bool(const HelpCall&)> answer) {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.helpAnswer = std::move(answer);
}

CallCounts calls() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  return s.calls;
}

void resetCalls() {
  auto& s = state();
  std::lock_guard lock(s.mutex);
  s.calls = {};
}

} // namespace tsen::fake
