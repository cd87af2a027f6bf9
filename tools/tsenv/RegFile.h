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
std::string registrySections(const RegistryTree& tree, const std::vector<RegKeyName>& keys,
                             RegFileDialect dialect = RegFileDialect::version5);

// The same sections behind the header line that tells the file's dialect.
std::string registryFileText(const RegistryTree& tree, const std::vector<RegKeyName>& keys,
                             RegFileDialect dialect = RegFileDialect::version5);

// Writes registry file text to standard output, where lines end as the
// system wants rather than in CR LF.
void printRegistryText(std::string text);

// What importing fileBytes does to the suite's keys, given them as they are
// now in current: sections, values and deletions ("[-KEY]", "name"=-)
// replayed in order, as the system's registry editor imports. Throws
// UsageError when fileBytes is no registry file or sets anything outside
// the suite's keys.
std::vector<RegChange> planImport(std::string_view fileBytes, const RegistryTree& current);

} // namespace tsenv
