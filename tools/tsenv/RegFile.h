// Registry files (.reg) for support: writing the suite's keys into one, and
// working out what replaying one changes.
#pragma once

#include "tools/tsenv/SuiteRegistry.h"

#include "platform/portable/RegValueText.h"

#include <string>
#include <string_view>
#include <vector>

namespace tsenv {

using tsen::platform::portable::RegFileDialect;

// The keys of tree named by keys, each with everything below it, as the
// sections of a registry file: "[KEY]" and a line per value. Keys missing
// from tree are left out.
std::string registrySections(const RegistryTree& tree, const std::vector<RegKeyName>& keys);

// The same sections behind the header of a version 5.00 file.
std::string registryFileText(const RegistryTree& tree, const std::vector<RegKeyName>& keys);

// Writes registry file text to standard output, where lines end as the
// system wants rather than in CR LF.
void printRegistryText(std::string text);

// What importing fileBytes, the file named file, does to the suite's keys as
// they are now in registry: sections, values and deletions ("[-KEY]",
// "name"=-) replayed in order, as the system's registry editor imports.
// Throws UsageError, naming the file and line, when fileBytes is no registry
// file or creates, changes or deletes anything outside the suite's keys.
std::vector<RegChange> planImport(std::string_view file, std::string_view fileBytes,
                                  SuiteRegistry& registry);

} // namespace tsenv
