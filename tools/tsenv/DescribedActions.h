// tsenv's own piece in place of the library's user actions: message boxes,
// addresses and compiled help are done as the library does them, or only
// described, one line each, and taken as done.
#pragma once

#include <string>

namespace tsenv {

// From now on each action is described instead of done: appended to into
// when given, else printed on standard output. "message box: CAPTION: TEXT"
// (line breaks as \n), "open address: ADDRESS", "open help: FILE COMMAND DATA".
void describeActions(std::string* into = nullptr);

} // namespace tsenv
