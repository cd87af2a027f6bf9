// One value line of a registry file ("name"="text", @=dword:0000002a,
// "name"=hex(2):25,00,...), with the continuation lines that belong to it.
#pragma once

#include "platform/common/RegistryTree.h"
#include "platform/common/TextEncoding.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::platform {

// "REGEDIT4" files hold string data as 8-bit bytes; "Windows Registry Editor
// Version 5.00" files hold the data of hex(1), hex(2) and hex(7) in UTF-16LE.
enum class RegFileDialect { regedit4, version5 };

struct ValueAssignment {
  std::string name;                   // empty for the default value, "@"
  std::optional<RegistryValue> value; // nothing: the value is deleted, "name"=-
};

// line assigns hex data that goes on in the next line (it ends in "\").
bool continuesOnNextLine(std::string_view line);
// text is a line joined with its continuation lines; in a REGEDIT4 file the
// hex data of text types are in the file's own encoding.
std::optional<ValueAssignment> parseAssignment(std::string_view text, RegFileDialect dialect,
                                               FileEncoding encoding = FileEncoding::eightBit);

// "@" for the default value, otherwise quoted with \ and " escaped.
std::string formatValueName(std::string_view name);
// Without line ends; long hex data wrapped with continuation lines.
std::vector<std::string> formatAssignment(std::string_view name, const RegistryValue& value,
                                          RegFileDialect dialect);

} // namespace tsen::platform
