// The test double: the in-memory registry tree the portable layer also uses,
// with the knob tests turn (a refused write) and a count of every call, and
// the system answers and captured user interface.
#include "platform/testing/FakeSystem.h"

#include "platform/common/OpenKeys.h"

#include <map>
#include <mutex>

namespace tsen::fake {

namespace {

// Every field at its default is the empty system.
struct FakeAnswers {
  platform::RegistryTree registry;
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

FakeState& state() {
  static FakeState instance;
  return instance;
}

// Calls use with the state under its lock and returns its answer.
template <class Use> decltype(auto) withState(Use&& use) {
  const std::lock_guard lock(state().mutex);
  return std::forward<Use>(use)(state());
}

// Calls use with the registry and the key keyPath names below root, under
// the state's lock.
template <class Use> decltype(auto) atKey(HKEY root, std::string_view keyPath, Use&& use) {
  return withState([&](FakeState& s) {
    const auto at = s.openKeys.locate(root, std::string(keyPath).c_str());
    return use(s.registry, at.value_or(platform::KeyLocation{}));
  });
}

} // namespace

void reset() {
  withState([](FakeState& s) {
    static_cast<FakeAnswers&>(s) = {};
    s.openKeys.clear();
  });
}

void createKey(HKEY root, std::string_view keyPath) {
  atKey(root, keyPath, [](auto& tree, const auto& at) { tree.create(at.root, at.path); });
}

void removeKey(HKEY root, std::string_view keyPath) {
  atKey(root, keyPath, [](auto& tree, const auto& at) { tree.remove(at.root, at.path); });
}

bool keyExists(HKEY root, std::string_view keyPath) {
  return atKey(root, keyPath,
               [](auto& tree, const auto& at) { return tree.find(at.root, at.path) != nullptr; });
}

void setValue(HKEY root, std::string_view keyPath, std::string_view name, RegistryValue value) {
  atKey(root, keyPath, [&](auto& tree, const auto& at) {
    tree.create(at.root, at.path).setValue(name, std::move(value));
  });
}

void setString(HKEY root, std::string_view keyPath, std::string_view name, std::string_view text) {
  setValue(root, keyPath, name, {platform::kRegSz, std::string(text) + '\0'});
}

void setDword(HKEY root, std::string_view keyPath, std::string_view name, std::uint32_t number) {
  setValue(root, keyPath, name, {platform::kRegDword, platform::dwordBytes(number)});
}

std::optional<std::string> stringValue(HKEY root, std::string_view keyPath, std::string_view name) {
  return atKey(root, keyPath, [&](auto& tree, const auto& at) -> std::optional<std::string> {
    const platform::RegistryKey* key = tree.find(at.root, at.path);
    const RegistryValue* found = key != nullptr ? key->value(name) : nullptr;
    return found != nullptr ? std::optional(found->data.substr(0, found->data.find('\0')))
                            : std::nullopt;
  });
}

int openHandles() {
  return withState([](FakeState& s) { return static_cast<int>(s.openKeys.count()); });
}

void refuseWritesOf(std::string_view valueName) {
  withState([&](FakeState& s) {
    s.refusedValueName = valueName.empty() ? std::nullopt : std::optional<std::string>(valueName);
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

// The platform calls the library makes, answered from the state. The calls
// for whole keys are tsenv's alone, which runs on the real backends.
namespace tsen::platform {

using fake::FakeState;
using fake::withState;

bool regOpenKey(HKEY root, const char* subKey, HKEY& key) {
  return withState([&](FakeState& s) {
    ++s.calls.regOpenKey;
    return s.openKeys.openIn(s.registry, root, subKey, key);
  });
}

bool regCreateKey(HKEY root, const char* subKey, HKEY& key) {
  return withState([&](FakeState& s) {
    ++s.calls.regCreateKey;
    const auto base = s.openKeys.locate(root);
    auto location = s.openKeys.locate(root, subKey);
    // Keys are created below an open key only while it still exists.
    if (!location || s.registry.find(base->root, base->path) == nullptr) {
      return false;
    }
    s.registry.create(location->root, location->path);
    key = s.openKeys.open(root, subKey, std::move(*location));
    return true;
  });
}

bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size) {
  return withState([&](FakeState& s) {
    ++s.calls.regQueryValue;
    return s.openKeys.queryIn(s.registry, key, valueName, type, data, size);
  });
}

bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  return withState([&](FakeState& s) {
    ++s.calls.regSetValue;
    RegistryKey* found = s.openKeys.keyIn(s.registry, key);
    const std::string_view name = valueName != nullptr ? valueName : "";
    if (found == nullptr || (data == nullptr && size > 0) ||
        (s.refusedValueName && asciiEqualNoCase(name, *s.refusedValueName))) {
      return false;
    }
    found->setValue(name,
                    {type, size > 0 ? std::string(static_cast<const char*>(data), size) : ""});
    return true;
  });
}

bool regCloseKey(HKEY key) {
  return withState([&](FakeState& s) {
    ++s.calls.regCloseKey;
    return s.openKeys.close(key);
  });
}

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
