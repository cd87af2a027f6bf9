#include "tools/tsenv/RegKeyName.h"

#include "tools/tsenv/Commands.h"

#include "TsEnvironment.h"

#include "platform/portable/TextPieces.h"
#include "support/AsciiCase.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tsenv {

namespace {

using tsen::asciiEqualNoCase;

constexpr std::array<std::pair<std::string_view, RegistryRoot>, 4> kShortRoots{{
    {"HKCU", RegistryRoot::currentUser},
    {"HKLM", RegistryRoot::localMachine},
    {"HKCR", RegistryRoot::classesRoot},
    {"HKU", RegistryRoot::users},
}};

std::optional<RegistryRoot> rootNamed(std::string_view name) {
  for (const auto& [shortName, root] : kShortRoots) {
    if (asciiEqualNoCase(name, shortName)) {
      return root;
    }
  }
  return tsen::platform::rootFromName(name);
}

KeyPath splitPath(std::string_view text) {
  KeyPath path;
  for (const std::string_view component : tsen::platform::portable::splitAt(text, '\\')) {
    path.emplace_back(component);
  }
  return path;
}

std::string joined(const KeyPath& path) {
  std::string text;
  for (const std::string& component : path) {
    text += text.empty() ? "" : "\\";
    text += component;
  }
  return text;
}

} // namespace

std::string RegKeyName::text() const {
  std::string text(tsen::platform::rootName(root));
  if (!path.empty()) {
    text += '\\';
    text += joined(path);
  }
  return text;
}

std::string RegKeyName::relativePath() const {
  return joined(path);
}

RegKeyName parseKeyName(std::string_view text) {
  while (text.ends_with('\\')) {
    text.remove_suffix(1);
  }
  if (text.empty()) {
    throw UsageError("no registry key given");
  }
  const std::string_view first = text.substr(0, text.find('\\'));
  RegKeyName name;
  if (const auto root = rootNamed(first)) {
    name.root = *root;
    text.remove_prefix(std::min(text.size(), first.size() + 1));
    name.path = text.empty() ? KeyPath{} : splitPath(text);
  } else {
    name.path = splitPath(TsEnBuildRegKey(std::string(text)));
  }
  if (std::ranges::any_of(name.path, [](const std::string& c) { return c.empty(); })) {
    throw UsageError("'" + name.text() + "' is no registry key name (empty component)");
  }
  return name;
}

std::vector<RegKeyName> suiteKeys() {
  return {
      {RegistryRoot::currentUser, {"SOFTWARE", "Quarzel", "Tessaline"}},
      {RegistryRoot::localMachine,
       {"SOFTWARE", "Quarzel", "Tessaline", "18.40", "Kernel Services"}},
      {RegistryRoot::localMachine,
       {"SOFTWARE", "Quarzel", "Tessaline", "19.01", "RA_Zora", "Kernel Services"}},
  };
}

bool isWithin(const KeyPath& path, const KeyPath& ancestor) {
  return ancestor.size() <= path.size() &&
         std::equal(ancestor.begin(), ancestor.end(), path.begin(),
                    [](const std::string& a, const std::string& b) {
                      return tsen::platform::sameName(a, b);
                    });
}

bool isSuiteKey(const RegKeyName& name) {
  return std::ranges::any_of(suiteKeys(), [&](const RegKeyName& suite) {
    return suite.root == name.root && isWithin(name.path, suite.path);
  });
}

RegKeyName parseSuiteKeyName(std::string_view text) {
  RegKeyName name = parseKeyName(text);
  if (!isSuiteKey(name)) {
    throw UsageError("'" + name.text() +
                     "' is not one of the suite's keys (HKEY_CURRENT_USER\\SOFTWARE\\Quarzel\\"
                     "Tessaline and below, or the Kernel Services keys below HKEY_LOCAL_MACHINE)");
  }
  return name;
}

} // namespace tsenv
