// What the library shows or opens for the user: message boxes, addresses in
// the web browser, compiled help. The product links UserActions.cpp, which
// hands each to the platform; a tool may link a piece of its own instead
// (tsenv's describes each action rather than doing it).
#pragma once

#include <cstdint>
#include <string>

namespace tsen {

// A modal message box with no owner window.
void showMessage(const std::string& text, const std::string& caption, unsigned style);
// Opens address with the shell; the shell's answer, above 32 on success.
std::intptr_t openAddress(const std::string& address);
// Asks the help viewer to show file; true when it shows it.
bool openHelp(const std::string& file, unsigned command, std::intptr_t data);

} // namespace tsen
