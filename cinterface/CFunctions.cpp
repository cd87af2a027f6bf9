// The TsEn and session functions and the interface constants for callers of
// any compiler or language: each calls the function of the same name.
#include "TsEnvironment.h"
#include "TsEnvironmentC.h"

#include "cinterface/Boundary.h"
#include "folders/KeptFolders.h"
#include "language/KeptLanguageCode.h"

#include <array>

using tsen::c::guarded;
using tsen::c::textAnswer;
using tsen::c::textIn;
using tsen::c::valueAnswer;

// The functions that take no argument: each C function hands out, or stores,
// the answer of the function named beside it.
#define TSENC_TEXT_ANSWER(cFunction, function)                                                     \
  TsEnC_Result cFunction(TsEnC_TextSink sink, void* context) {                                     \
    return textAnswer(sink, context, function);                                                    \
  }
#define TSENC_VALUE_ANSWER(cFunction, Answer, function)                                            \
  TsEnC_Result cFunction(Answer* answer) {                                                         \
    return valueAnswer(answer, function);                                                          \
  }
TSENC_TEXT_ANSWER(TsEnC_GetRegistryKey, TsEnGetRegistryKey)
TSENC_TEXT_ANSWER(TsEnC_GetRegKeyKernelServices, TsEnGetRegKeyKernelServices)
TSENC_TEXT_ANSWER(TsEnC_GetCurrentConfig, TsEnGetCurrentConfig)
TSENC_TEXT_ANSWER(TsEnC_GetLanguageName, TsEnGetLanguageName)
TSENC_TEXT_ANSWER(TsEnC_GetLanguageCountry, TsEnGetLanguageCountry)
TSENC_TEXT_ANSWER(TsEnC_GetUserDataPath, TsEnGetUserDataPath)
TSENC_TEXT_ANSWER(TsEnC_GetTempPath, TsEnGetTempPath)
TSENC_TEXT_ANSWER(TsEnC_GetTempPathAppDataStyle, TsEnGetTempPathAppDataStyle)
TSENC_TEXT_ANSWER(TsEnC_GetQuarzelSharedPath, TsEnGetQuarzelSharedPath)
TSENC_TEXT_ANSWER(TsEnC_GetTessalineSharedPath, TsEnGetTessalineSharedPath)
TSENC_TEXT_ANSWER(TsEnC_GetCurrentVersionNumber, TsEnGetCurrentVersionNumber)
TSENC_TEXT_ANSWER(TsEnC_GetActiveTessalineDomain, getActiveTessalineDomain)
TSENC_TEXT_ANSWER(TsEnC_GetLastTessalineCommand, getLastTessalineCommand)
TSENC_VALUE_ANSWER(TsEnC_QVRConnect, int32_t, TsEnQVRConnect)
TSENC_VALUE_ANSWER(TsEnC_GetLanguageCodeID, uint32_t, TsEnGetLanguageCodeID)
TSENC_VALUE_ANSWER(TsEnC_GetCurrentVersionNumberMajor, int32_t, TsEnGetCurrentVersionNumberMajor)
TSENC_VALUE_ANSWER(TsEnC_GetCurrentVersionNumberMinor, int32_t, TsEnGetCurrentVersionNumberMinor)
TSENC_VALUE_ANSWER(TsEnC_GetCurrentVersionNumberFeaturePack, int32_t,
                   TsEnGetCurrentVersionNumberFeaturePack)
TSENC_VALUE_ANSWER(TsEnC_GetCurrentVersionNumberUpdate, int32_t, TsEnGetCurrentVersionNumberUpdate)

// The kept texts, handed out as they lie, without a copy.
#define TSENC_KEPT_TEXT(cFunction, kept)                                                           \
  TsEnC_Result cFunction(TsEnC_TextSink sink, void* context) {                                     \
    std::string found;                                                                             \
    return textAnswer(sink, context, [&]() -> const std::string& { return kept(found); });         \
  }
TSENC_KEPT_TEXT(TsEnC_GetLanguageCode, tsen::languageCode)
TSENC_KEPT_TEXT(TsEnC_GetAppPath, tsen::appPath)
TSENC_KEPT_TEXT(TsEnC_GetMyTessalinePath, tsen::myTessalinePath)

// The functions of one text, and of one topic.
#define TSENC_TEXT_OF_TEXT(cFunction, function)                                                    \
  TsEnC_Result cFunction(const char* text, uint32_t length, TsEnC_TextSink sink, void* context) {  \
    return textAnswer(sink, context, [&] { return function(textIn(text, length)); });              \
  }
#define TSENC_VALUE_OF_TEXT(cFunction, function)                                                   \
  TsEnC_Result cFunction(const char* text, uint32_t length, int32_t* answer) {                     \
    return valueAnswer(answer, [&] { return function(textIn(text, length)); });                    \
  }
#define TSENC_TOPIC_ACTION(cFunction, function)                                                    \
  TsEnC_Result cFunction(int32_t topic) {                                                          \
    return guarded([&] { function(topic); });                                                      \
  }
TSENC_TEXT_OF_TEXT(TsEnC_BuildRegKey, TsEnBuildRegKey)
TSENC_TEXT_OF_TEXT(TsEnC_GetResourceName, TsEnGetResourceName)
TSENC_VALUE_OF_TEXT(TsEnC_SetActiveTessalineDomain, setActiveTessalineDomain)
TSENC_VALUE_OF_TEXT(TsEnC_SetLastTessalineCommand, setLastTessalineCommand)
TSENC_TOPIC_ACTION(TsEnC_WikiHelp, TsEnWikiHelp)
TSENC_TOPIC_ACTION(TsEnC_WikiHelpOnly, TsEnWikiHelpOnly)

TsEnC_Result TsEnC_FileExist(const char* path, uint32_t pathLength, int32_t showMessage,
                             int32_t* exists) {
  return valueAnswer(exists,
                     [&] { return TsEnFileExist(textIn(path, pathLength), showMessage != 0); });
}

TsEnC_Result TsEnC_BuildFilename(const char* name, uint32_t nameLength, int32_t baseFolder,
                                 int32_t flags, TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context,
                    [&] { return TsEnBuildFilename(textIn(name, nameLength), baseFolder, flags); });
}

TsEnC_Result TsEnC_Help(int32_t topic, const char* helpName, uint32_t helpNameLength) {
  return guarded([&] { TsEnHelp(topic, textIn(helpName, helpNameLength)); });
}

TsEnC_Result TsEnC_SetLastTessalineCommandInDomain(const char* command, uint32_t commandLength,
                                                   const char* domain, uint32_t domainLength,
                                                   int32_t* stored) {
  return valueAnswer(stored, [&] {
    return setLastTessalineCommand(textIn(command, commandLength), textIn(domain, domainLength));
  });
}

TsEnC_Result TsEnC_LogCommandInfo(const char* command, uint32_t commandLength, const char* domain,
                                  uint32_t domainLength, const char* info, uint32_t infoLength) {
  return guarded([&] {
    LogCommandInfo(textIn(command, commandLength), textIn(domain, domainLength),
                   textIn(info, infoLength));
  });
}

// In the order of enum TsEnC_Constant, which the same list makes.
#define TSEN_CONSTANT_ADDRESS(number, name, spelling) &name,
static const std::array<const std::string*, TSENC_CONSTANT_COUNT> kConstants = {
    TSENC_CONSTANTS(TSEN_CONSTANT_ADDRESS)};

TsEnC_Result TsEnC_GetConstant(int32_t constant, TsEnC_TextSink sink, void* context) {
  if (constant < 0 || constant >= TSENC_CONSTANT_COUNT) {
    return TSENC_BAD_ARGUMENT;
  }
  return textAnswer(sink, context, [&]() -> const std::string& { return *kConstants[constant]; });
}
