// Registry files (.reg) for support: the suite's keys written as one, and
// what replaying one changes.
#pragma once

#include "tools/tsenv/RegKeys.h"

#include <string>
#include <string_view>
#include <vector>

namespace tsenv {

// The keys of tree named by keys, each with everything below it, as the
// sections of a version 5.00 file ("[KEY]" and a line per value, lines
// ending in CR LF), behind its header when withHeader. Keys missing from
// tree are left out.
std::string registryText(const RegistryTree& tree, const std::vector<KeyLocation>& keys,
                         bool withHeader);

// Writes registry file text to standard output, where lines end as the
// system wants rather than in CR LF.
void printRegistryText(std::string text);

// What importing fileBytes, the file named file, does to the suite's keys as
// they are now: sections, values and deletions ("[-KEY]", "name"=-)
// replayed in order, as the system's registry editor imports. Throws
// UsageError, naming the file and line, when fileBytes is no registry file
// or creates, changes or deletes anything outside the suite's keys.
std::vector<RegChange> planImport(std::string_view file, std::string_view fileBytes);

} // namespace tsenv
