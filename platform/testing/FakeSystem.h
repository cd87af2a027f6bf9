// The platform layer's test double: an in-memory registry, answers set by the
// test, captured user-interface calls; files are the host's own. Thread-safe.
#pragma once

#include "platform/Platform.h"
#include "platform/common/RegistryTree.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::fake {

using platform::KnownFolder;
using platform::RegistryValue;

struct MessageBoxCall {
  std::string text, caption;
  unsigned style = 0;
};

struct HelpCall {
  std::string file;
  unsigned command = 0;
  std::intptr_t data = 0;
};

// How often the library read the system, per question.
struct CallCounts {
  int regOpenKey = 0, moduleFileName = 0, knownFolder = 0;
};

// Back to an empty system: nothing set, nothing captured.
void reset();

bool keyExists(HKEY root, std::string_view keyPath);
void setValue(HKEY root, std::string_view keyPath, std::string_view name, RegistryValue value);
// A REG_SZ value with its terminating zero.
void setString(HKEY root, std::string_view keyPath, std::string_view name, std::string_view text);
void setDword(HKEY root, std::string_view keyPath, std::string_view name, std::uint32_t number);
// Handles opened and not yet closed (predefined roots excluded).
int openHandles();
// Makes RegSetValueExA fail for values of this name (any case); "" for none.
void refuseWritesOf(std::string_view valueName);

void setModuleFileName(std::string fileName);
// nullopt makes SHGetFolderPathA fail for that folder.
void setKnownFolder(KnownFolder folder, std::optional<std::string> path);
// nullopt makes GetTempPathA fail.
void setTempFolder(std::optional<std::string> path);

std::vector<MessageBoxCall> messageBoxes();
std::vector<std::string> shellOpens();
// The number ShellExecuteA answers; 42 (success) unless set.
void setShellResult(std::intptr_t result);
std::vector<HelpCall> helpCalls();
// Decides whether a help call shows a window; every call fails unless set.
void setHelpAnswer(std::function<bool(const HelpCall&)> answer);

CallCounts calls();
void resetCalls();

} // namespace tsen::fake
