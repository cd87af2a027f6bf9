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

inline std::string constant(std::int32_t number) {
  return text(TsEnC_GetConstant, number);
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
  return TsEnOverC::value<std::int32_t>(TsEnC_RegistryCreate, state_, root, keyName.data(),
                                        TsEnOverC::lengthOf(keyName)) != 0;
}

inline bool TsEnWinRegistry::OpenKey(HKEY root, std::string keyName, bool create) {
  return TsEnOverC::value<std::int32_t>(TsEnC_RegistryOpenKey, state_, root, keyName.data(),
                                        TsEnOverC::lengthOf(keyName),
                                        static_cast<std::int32_t>(create)) != 0;
}

inline bool TsEnWinRegistry::ReadLong(std::string valueName, TsEnLong& value) {
  std::int32_t read = value;
  const bool found =
      TsEnOverC::value<std::int32_t>(TsEnC_RegistryReadLong, state_, valueName.data(),
                                     TsEnOverC::lengthOf(valueName), &read) != 0;
  value = read;
  return found;
}

inline bool TsEnWinRegistry::ReadString(std::string valueName, std::string& value) {
  std::string read;
  std::int32_t found = 0;
  TsEnOverC::check(TsEnC_RegistryReadString(
      state_, valueName.data(), TsEnOverC::lengthOf(valueName), &TsEnOverC::keep, &read, &found));
  if (found != 0) {
    value = std::move(read);
  }
  return found != 0;
}

inline bool TsEnWinRegistry::WriteLong(std::string valueName, TsEnLong value) {
  return TsEnOverC::value<std::int32_t>(TsEnC_RegistryWriteLong, state_, valueName.data(),
                                        TsEnOverC::lengthOf(valueName),
                                        static_cast<std::int32_t>(value)) != 0;
}

inline bool TsEnWinRegistry::WriteString(std::string valueName, std::string value) {
  return TsEnOverC::value<std::int32_t>(TsEnC_RegistryWriteString, state_, valueName.data(),
                                        TsEnOverC::lengthOf(valueName), value.data(),
                                        TsEnOverC::lengthOf(value)) != 0;
}

// ---- Registry layout and configuration -----------------------------------

inline bool TsEnQVRConnect() {
  return TsEnOverC::value<std::int32_t>(TsEnC_QVRConnect) != 0;
}
inline std::string TsEnGetRegistryKey() {
  return TsEnOverC::text(TsEnC_GetRegistryKey);
}
inline std::string TsEnGetRegKeyKernelServices() {
  return TsEnOverC::text(TsEnC_GetRegKeyKernelServices);
}
inline std::string TsEnBuildRegKey(const std::string& subKey) {
  return TsEnOverC::text(TsEnC_BuildRegKey, subKey.data(), TsEnOverC::lengthOf(subKey));
}
inline std::string TsEnGetCurrentConfig() {
  return TsEnOverC::text(TsEnC_GetCurrentConfig);
}

// ---- Language ------------------------------------------------------------

inline std::string TsEnGetLanguageCode() {
  return TsEnOverC::text(TsEnC_GetLanguageCode);
}
inline unsigned int TsEnGetLanguageCodeID() {
  return TsEnOverC::value<std::uint32_t>(TsEnC_GetLanguageCodeID);
}
inline std::string TsEnGetLanguageName() {
  return TsEnOverC::text(TsEnC_GetLanguageName);
}
inline std::string TsEnGetLanguageCountry() {
  return TsEnOverC::text(TsEnC_GetLanguageCountry);
}

// ---- Folders and file names ------------------------------------------------

inline std::string TsEnGetAppPath() {
  return TsEnOverC::text(TsEnC_GetAppPath);
}
inline bool TsEnFileExist(const std::string& path, bool showMessage) {
  return TsEnOverC::value<std::int32_t>(TsEnC_FileExist, path.data(), TsEnOverC::lengthOf(path),
                                        static_cast<std::int32_t>(showMessage)) != 0;
}
inline std::string TsEnGetUserDataPath() {
  return TsEnOverC::text(TsEnC_GetUserDataPath);
}
inline std::string TsEnGetMyTessalinePath() {
  return TsEnOverC::text(TsEnC_GetMyTessalinePath);
}
inline std::string TsEnGetTempPath() {
  return TsEnOverC::text(TsEnC_GetTempPath);
}
inline std::string TsEnGetTempPathAppDataStyle() {
  return TsEnOverC::text(TsEnC_GetTempPathAppDataStyle);
}
inline std::string TsEnGetQuarzelSharedPath() {
  return TsEnOverC::text(TsEnC_GetQuarzelSharedPath);
}
inline std::string TsEnGetTessalineSharedPath() {
  return TsEnOverC::text(TsEnC_GetTessalineSharedPath);
}
inline std::string TsEnGetResourceName(const std::string& baseName) {
  return TsEnOverC::text(TsEnC_GetResourceName, baseName.data(), TsEnOverC::lengthOf(baseName));
}
inline std::string TsEnBuildFilename(const std::string& name, int baseFolder, int flags) {
  return TsEnOverC::text(TsEnC_BuildFilename, name.data(), TsEnOverC::lengthOf(name),
                         static_cast<std::int32_t>(baseFolder), static_cast<std::int32_t>(flags));
}

// ---- Version ---------------------------------------------------------------

inline std::string TsEnGetCurrentVersionNumber() {
  return TsEnOverC::text(TsEnC_GetCurrentVersionNumber);
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

// ---- Help ------------------------------------------------------------------

inline void TsEnHelp(int topic, const std::string& helpName) {
  TsEnOverC::check(TsEnC_Help(topic, helpName.data(), TsEnOverC::lengthOf(helpName)));
}
inline void TsEnWikiHelp(int topic) {
  TsEnOverC::check(TsEnC_WikiHelp(topic));
}
inline void TsEnWikiHelpOnly(int topic) {
  TsEnOverC::check(TsEnC_WikiHelpOnly(topic));
}

// ---- Session state and command log -----------------------------------------

inline std::string getActiveTessalineDomain() {
  return TsEnOverC::text(TsEnC_GetActiveTessalineDomain);
}
inline std::string getLastTessalineCommand() {
  return TsEnOverC::text(TsEnC_GetLastTessalineCommand);
}
inline bool setActiveTessalineDomain(const std::string& domain) {
  return TsEnOverC::value<std::int32_t>(TsEnC_SetActiveTessalineDomain, domain.data(),
                                        TsEnOverC::lengthOf(domain)) != 0;
}
inline bool setLastTessalineCommand(const std::string& command) {
  return TsEnOverC::value<std::int32_t>(TsEnC_SetLastTessalineCommand, command.data(),
                                        TsEnOverC::lengthOf(command)) != 0;
}
inline bool setLastTessalineCommand(const std::string& command, const std::string& domain) {
  return TsEnOverC::value<std::int32_t>(TsEnC_SetLastTessalineCommandInDomain, command.data(),
                                        TsEnOverC::lengthOf(command), domain.data(),
                                        TsEnOverC::lengthOf(domain)) != 0;
}
inline void LogCommandInfo(const std::string& command, const std::string& domain,
                           const std::string& info) {
  TsEnOverC::check(TsEnC_LogCommandInfo(command.data(), TsEnOverC::lengthOf(command), domain.data(),
                                        TsEnOverC::lengthOf(domain), info.data(),
                                        TsEnOverC::lengthOf(info)));
}
