// The declarations of TsEnvironment.h defined inline over the plain C
// interface, for modules built with a toolchain whose C++ ABI is not the
// library's. Included by TsEnvironment.h; include that header, not this one.
//
// Each function passes its texts as pointer and length, takes texts back
// into a std::string of its own, and turns a failure of the C interface back
// into the exception the direct interface would let through: std::bad_alloc,
// or std::length_error for a text of 4 GiB or more.
#pragma once

#include "TsEnvironmentC.h"

#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>

namespace TsEnOverC {

// The sink of every text: assigns it to the std::string that context points to.
inline std::int32_t keep(void* context, const char* text, std::uint32_t length) noexcept {
  try {
    static_cast<std::string*>(context)->assign(text, length);
    return 0;
  } catch (...) {
    return 1;
  }
}

inline void check(TsEnC_Result result) {
  if (result == TSENC_TOO_LONG) {
    throw std::length_error("Tessaline.Environment: text of 4 GiB or more");
  }
  if (result != TSENC_OK) {
    throw std::bad_alloc();
  }
}

inline std::uint32_t lengthOf(const std::string& text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) {
    check(TSENC_TOO_LONG);
  }
  return static_cast<std::uint32_t>(text.size());
}

// Calls function(arguments..., sink, context) and answers the text it hands out.
template <class Function, class... Arguments>
std::string text(Function function, Arguments... arguments) {
  std::string answer;
  check(function(arguments..., &keep, &answer));
  return answer;
}

// Calls function(arguments..., &answer) and answers what it stored.
template <class Answer, class Function, class... Arguments>
Answer value(Function function, Arguments... arguments) {
  Answer answer{};
  check(function(arguments..., &answer));
  return answer;
}

// The same for an answer that is true or false.
template <class Function, class... Arguments> bool flag(Function function, Arguments... arguments) {
  return value<std::int32_t>(function, arguments...) != 0;
}

} // namespace TsEnOverC

// ---- Registry accessor: the handle is the state that copies share ----------

inline TsEnWinRegistry::TsEnWinRegistry() : state_(nullptr) {
  TsEnOverC::check(TsEnC_RegistryNew(&state_));
}

inline TsEnWinRegistry::TsEnWinRegistry(const TsEnWinRegistry& other) : state_(nullptr) {
  TsEnOverC::check(TsEnC_RegistryCopy(other.state_, &state_));
}

inline TsEnWinRegistry& TsEnWinRegistry::operator=(const TsEnWinRegistry& other) {
  TsEnWinRegistryState* shared = nullptr;
  TsEnOverC::check(TsEnC_RegistryCopy(other.state_, &shared));
  TsEnC_RegistryRelease(state_);
  state_ = shared;
  return *this;
}

inline TsEnWinRegistry::~TsEnWinRegistry() {
  TsEnC_RegistryRelease(state_);
}

inline bool TsEnWinRegistry::Create(HKEY root, std::string keyName) {
  return TsEnOverC::flag(TsEnC_RegistryCreate, state_, root, keyName.data(),
                         TsEnOverC::lengthOf(keyName));
}

inline bool TsEnWinRegistry::OpenKey(HKEY root, std::string keyName, bool create) {
  return TsEnOverC::flag(TsEnC_RegistryOpenKey, state_, root, keyName.data(),
                         TsEnOverC::lengthOf(keyName), static_cast<std::int32_t>(create));
}

inline bool TsEnWinRegistry::ReadLong(std::string valueName, TsEnLong& value) {
  std::int32_t read = value;
  const bool found = TsEnOverC::flag(TsEnC_RegistryReadLong, state_, valueName.data(),
                                     TsEnOverC::lengthOf(valueName), &read);
  value = read;
  return found;
}

// The sink is called, and value assigned, only when the read succeeds.
inline bool TsEnWinRegistry::ReadString(std::string valueName, std::string& value) {
  return TsEnOverC::flag(TsEnC_RegistryReadString, state_, valueName.data(),
                         TsEnOverC::lengthOf(valueName), &TsEnOverC::keep, &value);
}

inline bool TsEnWinRegistry::WriteLong(std::string valueName, TsEnLong value) {
  return TsEnOverC::flag(TsEnC_RegistryWriteLong, state_, valueName.data(),
                         TsEnOverC::lengthOf(valueName), static_cast<std::int32_t>(value));
}

inline bool TsEnWinRegistry::WriteString(std::string valueName, std::string value) {
  return TsEnOverC::flag(TsEnC_RegistryWriteString, state_, valueName.data(),
                         TsEnOverC::lengthOf(valueName), value.data(), TsEnOverC::lengthOf(value));
}

// The texts that take no argument, each over the C function named beside it.
#define TSEN_OVER_C_TEXT(function, cFunction)                                                      \
  inline std::string function() {                                                                  \
    return TsEnOverC::text(cFunction);                                                             \
  }
TSEN_OVER_C_TEXT(TsEnGetRegistryKey, TsEnC_GetRegistryKey)
TSEN_OVER_C_TEXT(TsEnGetRegKeyKernelServices, TsEnC_GetRegKeyKernelServices)
TSEN_OVER_C_TEXT(TsEnGetCurrentConfig, TsEnC_GetCurrentConfig)
TSEN_OVER_C_TEXT(TsEnGetLanguageCode, TsEnC_GetLanguageCode)
TSEN_OVER_C_TEXT(TsEnGetLanguageName, TsEnC_GetLanguageName)
TSEN_OVER_C_TEXT(TsEnGetLanguageCountry, TsEnC_GetLanguageCountry)
TSEN_OVER_C_TEXT(TsEnGetAppPath, TsEnC_GetAppPath)
TSEN_OVER_C_TEXT(TsEnGetUserDataPath, TsEnC_GetUserDataPath)
TSEN_OVER_C_TEXT(TsEnGetMyTessalinePath, TsEnC_GetMyTessalinePath)
TSEN_OVER_C_TEXT(TsEnGetTempPath, TsEnC_GetTempPath)
TSEN_OVER_C_TEXT(TsEnGetTempPathAppDataStyle, TsEnC_GetTempPathAppDataStyle)
TSEN_OVER_C_TEXT(TsEnGetQuarzelSharedPath, TsEnC_GetQuarzelSharedPath)
TSEN_OVER_C_TEXT(TsEnGetTessalineSharedPath, TsEnC_GetTessalineSharedPath)
TSEN_OVER_C_TEXT(TsEnGetCurrentVersionNumber, TsEnC_GetCurrentVersionNumber)
TSEN_OVER_C_TEXT(getActiveTessalineDomain, TsEnC_GetActiveTessalineDomain)
TSEN_OVER_C_TEXT(getLastTessalineCommand, TsEnC_GetLastTessalineCommand)
#undef TSEN_OVER_C_TEXT

// The functions that take arguments or answer a number.
inline bool TsEnQVRConnect() {
  return TsEnOverC::flag(TsEnC_QVRConnect);
}
inline std::string TsEnBuildRegKey(const std::string& subKey) {
  return TsEnOverC::text(TsEnC_BuildRegKey, subKey.data(), TsEnOverC::lengthOf(subKey));
}

inline unsigned int TsEnGetLanguageCodeID() {
  return TsEnOverC::value<std::uint32_t>(TsEnC_GetLanguageCodeID);
}

inline bool TsEnFileExist(const std::string& path, bool showMessage) {
  return TsEnOverC::flag(TsEnC_FileExist, path.data(), TsEnOverC::lengthOf(path),
                         static_cast<std::int32_t>(showMessage));
}
inline std::string TsEnGetResourceName(const std::string& baseName) {
  return TsEnOverC::text(TsEnC_GetResourceName, baseName.data(), TsEnOverC::lengthOf(baseName));
}
inline std::string TsEnBuildFilename(const std::string& name, int baseFolder, int flags) {
  return TsEnOverC::text(TsEnC_BuildFilename, name.data(), TsEnOverC::lengthOf(name),
                         static_cast<std::int32_t>(baseFolder), static_cast<std::int32_t>(flags));
}

inline int TsEnGetCurrentVersionNumberMajor() {
  return TsEnOverC::value<std::int32_t>(TsEnC_GetCurrentVersionNumberMajor);
}
inline int TsEnGetCurrentVersionNumberMinor() {
  return TsEnOverC::value<std::int32_t>(TsEnC_GetCurrentVersionNumberMinor);
}
inline int TsEnGetCurrentVersionNumberFeaturePack() {
  return TsEnOverC::value<std::int32_t>(TsEnC_GetCurrentVersionNumberFeaturePack);
}
inline int TsEnGetCurrentVersionNumberUpdate() {
  return TsEnOverC::value<std::int32_t>(TsEnC_GetCurrentVersionNumberUpdate);
}

inline void TsEnHelp(int topic, const std::string& helpName) {
  TsEnOverC::check(TsEnC_Help(topic, helpName.data(), TsEnOverC::lengthOf(helpName)));
}
inline void TsEnWikiHelp(int topic) {
  TsEnOverC::check(TsEnC_WikiHelp(topic));
}
inline void TsEnWikiHelpOnly(int topic) {
  TsEnOverC::check(TsEnC_WikiHelpOnly(topic));
}

inline bool setActiveTessalineDomain(const std::string& domain) {
  return TsEnOverC::flag(TsEnC_SetActiveTessalineDomain, domain.data(),
                         TsEnOverC::lengthOf(domain));
}
inline bool setLastTessalineCommand(const std::string& command) {
  return TsEnOverC::flag(TsEnC_SetLastTessalineCommand, command.data(),
                         TsEnOverC::lengthOf(command));
}
inline bool setLastTessalineCommand(const std::string& command, const std::string& domain) {
  return TsEnOverC::flag(TsEnC_SetLastTessalineCommandInDomain, command.data(),
                         TsEnOverC::lengthOf(command), domain.data(), TsEnOverC::lengthOf(domain));
}
inline void LogCommandInfo(const std::string& command, const std::string& domain,
                           const std::string& info) {
  TsEnOverC::check(TsEnC_LogCommandInfo(command.data(), TsEnOverC::lengthOf(command), domain.data(),
                                        TsEnOverC::lengthOf(domain), info.data(),
                                        TsEnOverC::lengthOf(info)));
}
