// The test double's system answers and captured user interface.
#include "platform/testing/FakeState.h"

namespace tsen::fake::detail {

FakeState& state() {
  static FakeState instance;
  return instance;
}

} // namespace tsen::fake::detail

namespace tsen::platform {

using fake::detail::FakeState;
using fake::detail::withState;

std::string moduleFileName() {
  return withState([](FakeState& s) {
    ++s.calls.moduleFileName;
    return s.moduleFileName;
  });
}

std::optional<std::string> knownFolder(KnownFolder folder) {
  return withState([&](FakeState& s) -> std::optional<std::string> {
    ++s.calls.knownFolder;
    const auto found = s.knownFolders.find(folder);
    return found != s.knownFolders.end() ? std::optional(found->second) : std::nullopt;
  });
}

std::optional<std::string> tempFolder() {
  return withState([](FakeState& s) {
    ++s.calls.tempFolder;
    return s.tempFolder;
  });
}

int messageBox(const std::string& text, const std::string& caption, unsigned style) {
  return withState([&](FakeState& s) {
    ++s.calls.messageBox;
    s.messageBoxes.push_back({text, caption, style});
    return 1; // IDOK
  });
}

std::intptr_t shellOpen(const std::string& address) {
  return withState([&](FakeState& s) {
    ++s.calls.shellOpen;
    s.shellOpens.push_back(address);
    return s.shellResult;
  });
}

bool htmlHelp(const std::string& file, unsigned command, std::intptr_t data) {
  return withState([&](FakeState& s) {
    ++s.calls.htmlHelp;
    s.helpCalls.push_back({file, command, data});
    return s.helpAnswer && s.helpAnswer(s.helpCalls.back());
  });
}

} // namespace tsen::platform

namespace tsen::fake {

using detail::FakeState;
using detail::withState;

void reset() {
  withState([](FakeState& s) {
    static_cast<detail::FakeAnswers&>(s) = {};
    s.openKeys.clear();
  });
}

void setModuleFileName(std::string fileName) {
  withState([&](FakeState& s) { s.moduleFileName = std::move(fileName); });
}

void setKnownFolder(KnownFolder folder, std::optional<std::string> path) {
  withState([&](FakeState& s) {
    if (path) {
      s.knownFolders[folder] = std::move(*path);
    } else {
      s.knownFolders.erase(folder);
    }
  });
}

void setTempFolder(std::optional<std::string> path) {
  withState([&](FakeState& s) { s.tempFolder = std::move(path); });
}

std::vector<MessageBoxCall> messageBoxes() {
  return withState([](FakeState& s) { return s.messageBoxes; });
}

std::vector<std::string> shellOpens() {
  return withState([](FakeState& s) { return s.shellOpens; });
}

void setShellResult(std::intptr_t result) {
  withState([&](FakeState& s) { s.shellResult = result; });
}

std::vector<HelpCall> helpCalls() {
  return withState([](FakeState& s) { return s.helpCalls; });
}

void setHelpAnswer(std::function<bool(const HelpCall&)> answer) {
  withState([&](FakeState& s) { s.helpAnswer = std::move(answer); });
}

CallCounts calls() {
  return withState([](FakeState& s) { return s.calls; });
}

void resetCalls() {
  withState([](FakeState& s) { s.calls = {}; });
}

} // namespace tsen::fake
