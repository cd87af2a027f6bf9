// Shared by the folder functions that keep a path once found.
#pragma once

#include <string>
#include <string_view>

namespace tsen {

// Copies source into destination, dropping one trailing backslash: a text
// ending in two backslashes keeps one. destination grows to fit any length.
void CopyPathTrimBackslash(std::string& destination, std::string_view source);

} // namespace tsen
