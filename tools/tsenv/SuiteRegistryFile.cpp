// The suite's keys in the portable layer's registry file. Reads and writes
// go through the layer's own store, which locks, re-reads and replaces the
// file atomically; deletions are written the way a registry file spells
// them ("[-KEY]", "name"=-), appended to the file and read back through the
// layer's own parser.
#include "tools/tsenv/SuiteRegistry.h"

#include "platform/portable/RegDocument.h"
#include "platform/portable/RegValueText.h"
#include "platform/portable/RegistryStore.h"
#include "platform/portable/TextEncoding.h"

namespace tsenv {

namespace {

namespace portable = tsen::platform::portable;
using portable::RegDocument;
using portable::RegistryStore;
using EditResult = RegistryStore::EditResult;

void copyKeyInto(const RegistryKey& source, RegistryKey& target) {
  for (const auto& [name, value] : source.values()) {
    target.setValue(name, value);
  }
  for (const auto& [name, child] : source.children()) {
    copyKeyInto(*child, target.childOrCreate(name));
  }
}

std::string sectionName(const RegistryTree& tree, const RegKeyName& key) {
  return RegKeyName{key.root, tree.spelledAsStored(key.root, key.path)}.text();
}

bool applyTo(RegDocument& document, const RegChange& change) {
  const RegistryTree tree = document.toTree();
  const RegKeyName& key = change.key;
  const RegistryKey* existing = tree.find(key.root, key.path);
  switch (change.kind) {
  case RegChange::Kind::createKey:
    if (existing == nullptr) {
      document.addKey(key.root, tree.spelledAsStored(key.root, key.path));
    }
    return true;
  case RegChange::Kind::setValue: {
    const std::string* storedName =
        existing != nullptr ? existing->valueName(change.valueName) : nullptr;
    document.setValue(key.root, tree.spelledAsStored(key.root, key.path),
                      storedName != nullptr ? *storedName : change.valueName, change.value);
    return true;
  }
  case RegChange::Kind::deleteValue:
    if (existing == nullptr || existing->value(change.valueName) == nullptr) {
      return false;
    }
    document.appendLines(
        {"[" + sectionName(tree, key) + "]", portable::formatValueName(change.valueName) + "=-"});
    return true;
  case RegChange::Kind::deleteKey:
    if (existing == nullptr || key.path.empty()) {
      return false;
    }
    document.appendLines({"[-" + sectionName(tree, key) + "]"});
    return true;
  }
  return false;
}

class RegistryFile final : public SuiteRegistry {
public:
  bool copyKey(const RegKeyName& key, RegistryTree& tree) override {
    return RegistryStore::instance().read([&](const RegistryTree& current) {
      const RegistryKey* found = current.find(key.root, key.path);
      if (found == nullptr) {
        return false;
      }
      copyKeyInto(*found, tree.create(key.root, current.spelledAsStored(key.root, key.path)));
      return true;
    });
  }

  bool apply(const std::vector<RegChange>& changes) override {
    // One edit for all: other writers see every change or none.
    return RegistryStore::instance().update([&](RegDocument& document, const RegistryTree&) {
      for (const RegChange& change : changes) {
        if (!applyTo(document, change)) {
          return EditResult::failed;
        }
      }
      return changes.empty() ? EditResult::unchanged : EditResult::changed;
    });
  }
};

} // namespace

std::unique_ptr<SuiteRegistry> openSuiteRegistry() {
  return std::make_unique<RegistryFile>();
}

std::string ansiFileText(std::string_view bytes) {
  return portable::fromWindows1252(bytes);
}

} // namespace tsenv
