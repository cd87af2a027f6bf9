// The test double, over the in-memory registry tree the portable layer also uses.
#include "platform/testing/FakeSystem.h"

#include "platform/common/OpenKeys.h"

#include <map>
#include <mutex>

namespace tsen::fake {
namespace {

// Every field at its default is the empty system.
struct FakeAnswers {
  platform::RegistryTree registry;
  std::string refusedValueName;
  std::string moduleFileName;
  std::map<KnownFolder, std::optional<std::string>> knownFolders;
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
};

// The state, under its lock while this lives.
class Locked {
public:
  FakeState* operator->() const { return &state(); }
  FakeState& operator*() const { return state(); }

private:
  static FakeState& state() {
    static FakeState instance;
    return instance;
  }
  static std::mutex& mutex() {
    static std::mutex instance;
    return instance;
  }
  const std::lock_guard<std::mutex> lock_{mutex()};
};

} // namespace

void reset() {
  const Locked s;
  static_cast<FakeAnswers&>(*s) = {};
  s->openKeys.clear();
}

bool keyExists(HKEY root, std::string_view keyPath) {
  HKEY key = nullptr;
  return platform::regOpenKey(root, std::string(keyPath).c_str(), key) &&
         platform::regCloseKey(key);
}

void setValue(HKEY root, std::string_view keyPath, std::string_view name, RegistryValue value) {
  const Locked s;
  const auto at = s->openKeys.locate(root, std::string(keyPath).c_str()).value();
  s->registry.create(at.root, at.path).setValue(name, std::move(value));
}

void setString(HKEY root, std::string_view keyPath, std::string_view name, std::string_view text) {
  setValue(root, keyPath, name, {platform::kRegSz, std::string(text) + '\0'});
}

void setDword(HKEY root, std::string_view keyPath, std::string_view name, std::uint32_t number) {
  setValue(root, keyPath, name, {platform::kRegDword, platform::dwordBytes(number)});
}

int openHandles() {
  return static_cast<int>(Locked()->openKeys.count());
}

void refuseWritesOf(std::string_view valueName) {
  Locked()->refusedValueName = valueName;
}

void setModuleFileName(std::string fileName) {
  Locked()->moduleFileName = std::move(fileName);
}

void setKnownFolder(KnownFolder folder, std::optional<std::string> path) {
  Locked()->knownFolders[folder] = std::move(path);
}

void setTempFolder(std::optional<std::string> path) {
  Locked()->tempFolder = std::move(path);
}

std::vector<MessageBoxCall> messageBoxes() {
  return Locked()->messageBoxes;
}

std::vector<std::string> shellOpens() {
  return Locked()->shellOpens;
}

void setShellResult(std::intptr_t result) {
  Locked()->shellResult = result;
}

std::vector<HelpCall> helpCalls() {
  return Locked()->helpCalls;
}

void setHelpAnswer(std::function<bool(const HelpCall&)> answer) {
  Locked()->helpAnswer = std::move(answer);
}

CallCounts calls() {
  return Locked()->calls;
}

void resetCalls() {
  Locked()->calls = {};
}

} // namespace tsen::fake

// Answered from the state; the calls for whole keys are tsenv's alone.
namespace tsen::platform {

using fake::Locked;

bool regOpenKey(HKEY root, const char* subKey, HKEY& key) {
  const Locked s;
  ++s->calls.regOpenKey;
  return s->openKeys.openIn(s->registry, root, subKey, key);
}

bool regCreateKey(HKEY root, const char* subKey, HKEY& key) {
  const Locked s;
  auto location = s->openKeys.locate(root, subKey);
  if (!location) {
    return false;
  }
  s->registry.create(location->root, location->path);
  key = s->openKeys.open(root, subKey, std::move(*location));
  return true;
}

bool regQueryValue(HKEY key, const char* valueName, std::uint32_t* type, void* data,
                   std::uint32_t& size) {
  const Locked s;
  return s->openKeys.queryIn(s->registry, key, valueName, type, data, size);
}

bool regSetValue(HKEY key, const char* valueName, std::uint32_t type, const void* data,
                 std::uint32_t size) {
  const Locked s;
  RegistryKey* found = s->openKeys.keyIn(s->registry, key);
  const std::string_view name = valueName != nullptr ? valueName : "";
  if (found == nullptr ||
      (!s->refusedValueName.empty() && asciiEqualNoCase(name, s->refusedValueName))) {
    return false;
  }
  found->setValue(name, {type, size > 0 ? std::string(static_cast<const char*>(data), size) : ""});
  return true;
}

bool regCloseKey(HKEY key) {
  return Locked()->openKeys.close(key);
}

std::string moduleFileName() {
  const Locked s;
  ++s->calls.moduleFileName;
  return s->moduleFileName;
}

std::optional<std::string> knownFolder(KnownFolder folder) {
  const Locked s;
  ++s->calls.knownFolder;
  const auto found = s->knownFolders.find(folder);
  return found != s->knownFolders.end() ? found->second : std::nullopt;
}

std::optional<std::string> tempFolder() {
  return Locked()->tempFolder;
}

int messageBox(const std::string& text, const std::string& caption, unsigned style) {
  Locked()->messageBoxes.push_back({text, caption, style});
  return 1; // IDOK
}

std::intptr_t shellOpen(const std::string& address) {
  const Locked s;
  s->shellOpens.push_back(address);
  return s->shellResult;
}

bool htmlHelp(const std::string& file, unsigned command, std::intptr_t data) {
  const Locked s;
  s->helpCalls.push_back({file, command, data});
  return s->helpAnswer && s->helpAnswer(s->helpCalls.back());
}

} // namespace tsen::platform
