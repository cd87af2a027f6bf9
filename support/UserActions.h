// What the library shows or opens for the user: message boxes, addresses in
// the web browser, compiled help. With the environment variable TSEN_DRY_RUN
// set (not empty), each is only described on standard output, one line each,
// and taken as done: support tools use this to show what a request would do.
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
