// The registry file's parser and writer on arbitrary bytes. What is written
// back reads as it was written, and a value set in any file is what the
// file then holds.
#include "fuzz/FuzzInput.h"
#include "platform/Platform.h"
#include "platform/common/RegDocument.h"

using tsen::fuzzing::check;
using namespace tsen::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RegDocument document = RegDocument::parse({reinterpret_cast<const char*>(data), size});
  const std::string written = document.serialize();
  check(RegDocument::parse(written).serialize() == written);

  const RegistryTree before = document.toTree();
  const KeyPath path =
      before.spelledAsStored(RegistryRoot::currentUser, KeyPath{"Software", "Fuzz"});
  const RegistryKey* key = before.find(RegistryRoot::currentUser, path);
  if (key == nullptr) {
    document.addKey(RegistryRoot::currentUser, path);
  }
  const std::string* stored = key != nullptr ? key->valueName("Value") : nullptr;
  const RegistryValue value{kRegExpandSz, std::string("%fuzz%\0", 7)};
  document.setValue(RegistryRoot::currentUser, path, stored != nullptr ? *stored : "Value", value);

  const RegistryTree after = RegDocument::parse(document.serialize()).toTree();
  const RegistryKey* changed = after.find(RegistryRoot::currentUser, path);
  check(changed != nullptr && changed->value("Value") != nullptr &&
        *changed->value("Value") == value);
  return 0;
}
