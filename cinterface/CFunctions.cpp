// The TsEn functions for callers of any compiler or language: each calls the
// function of the same name.
#include "TsEnvironment.h"
#include "TsEnvironmentC.h"

#include "cinterface/Boundary.h"
#include "folders/KeptFolders.h"
#include "language/KeptLanguageCode.h"

using tsen::c::done;
using tsen::c::isText;
using tsen::c::textAnswer;
using tsen::c::textIn;
using tsen::c::valueAnswer;

static_assert(TSENC_BASE_NONE == TsEnBaseNone && TSENC_BASE_APP_PATH == TsEnBaseAppPath &&
              TSENC_BASE_USER_DATA == TsEnBaseUserData &&
              TSENC_BASE_RESOURCES == TsEnBaseResources &&
              TSENC_BASE_BINARIES == TsEnBaseBinaries && TSENC_BASE_AUTOCAD == TsEnBaseAutoCAD &&
              TSENC_BASE_TEMP == TsEnBaseTemp);
static_assert(TSENC_LANG_AT_MARKER == TsEnLangAtMarker &&
              TSENC_LANG_SUBFOLDER == TsEnLangSubfolder);

TsEnC_Result TsEnC_QVRConnect(int32_t* connected) {
  return valueAnswer(connected, TsEnQVRConnect);
}

TsEnC_Result TsEnC_GetRegistryKey(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetRegistryKey);
}

TsEnC_Result TsEnC_GetRegKeyKernelServices(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetRegKeyKernelServices);
}

TsEnC_Result TsEnC_BuildRegKey(const char* subKey, uint32_t subKeyLength, TsEnC_TextSink sink,
                               void* context) {
  if (!isText(subKey, subKeyLength)) {
    return TSENC_BAD_ARGUMENT;
  }
  return textAnswer(sink, context, [&] { return TsEnBuildRegKey(textIn(subKey, subKeyLength)); });
}

TsEnC_Result TsEnC_GetCurrentConfig(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetCurrentConfig);
}

TsEnC_Result TsEnC_GetLanguageCode(TsEnC_TextSink sink, void* context) {
  // The kept code is handed out as it lies, without a copy.
  std::string found;
  return textAnswer(sink, context,
                    [&]() -> const std::string& { return tsen::languageCode(found); });
}

TsEnC_Result TsEnC_GetLanguageCodeID(uint32_t* id) {
  return valueAnswer(id, TsEnGetLanguageCodeID);
}

TsEnC_Result TsEnC_GetLanguageName(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetLanguageName);
}

TsEnC_Result TsEnC_GetLanguageCountry(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetLanguageCountry);
}

TsEnC_Result TsEnC_GetAppPath(TsEnC_TextSink sink, void* context) {
  std::string found;
  return textAnswer(sink, context, [&]() -> const std::string& { return tsen::appPath(found); });
}

TsEnC_Result TsEnC_FileExist(const char* path, uint32_t pathLength, int32_t showMessage,
                             int32_t* exists) {
  if (!isText(path, pathLength)) {
    return TSENC_BAD_ARGUMENT;
  }
  return valueAnswer(exists,
                     [&] { return TsEnFileExist(textIn(path, pathLength), showMessage != 0); });
}

TsEnC_Result TsEnC_GetUserDataPath(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetUserDataPath);
}

TsEnC_Result TsEnC_GetMyTessalinePath(TsEnC_TextSink sink, void* context) {
  std::string found;
  return textAnswer(sink, context,
                    [&]() -> const std::string& { return tsen::myTessalinePath(found); });
}

TsEnC_Result TsEnC_GetTempPath(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetTempPath);
}

TsEnC_Result TsEnC_GetTempPathAppDataStyle(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetTempPathAppDataStyle);
}

TsEnC_Result TsEnC_GetQuarzelSharedPath(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetQuarzelSharedPath);
}

TsEnC_Result TsEnC_GetTessalineSharedPath(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetTessalineSharedPath);
}

TsEnC_Result TsEnC_GetResourceName(const char* baseName, uint32_t baseNameLength,
                                   TsEnC_TextSink sink, void* context) {
  if (!isText(baseName, baseNameLength)) {
    return TSENC_BAD_ARGUMENT;
  }
  return textAnswer(sink, context,
                    [&] { return TsEnGetResourceName(textIn(baseName, baseNameLength)); });
}

TsEnC_Result TsEnC_BuildFilename(const char* name, uint32_t nameLength, int32_t baseFolder,
                                 int32_t flags, TsEnC_TextSink sink, void* context) {
  if (!isText(name, nameLength)) {
    return TSENC_BAD_ARGUMENT;
  }
  return textAnswer(sink, context,
                    [&] { return TsEnBuildFilename(textIn(name, nameLength), baseFolder, flags); });
}

TsEnC_Result TsEnC_GetCurrentVersionNumber(TsEnC_TextSink sink, void* context) {
  return textAnswer(sink, context, TsEnGetCurrentVersionNumber);
}

TsEnC_Result TsEnC_GetCurrentVersionNumberMajor(int32_t* number) {
  return valueAnswer(number, TsEnGetCurrentVersionNumberMajor);
}

TsEnC_Result TsEnC_GetCurrentVersionNumberMinor(int32_t* number) {
  return valueAnswer(number, TsEnGetCurrentVersionNumberMinor);
}

TsEnC_Result TsEnC_GetCurrentVersionNumberFeaturePack(int32_t* number) {
  return valueAnswer(number, TsEnGetCurrentVersionNumberFeaturePack);
}

TsEnC_Result TsEnC_GetCurrentVersionNumberUpdate(int32_t* number) {
  return valueAnswer(number, TsEnGetCurrentVersionNumberUpdate);
}

TsEnC_Result TsEnC_Help(int32_t topic, const char* helpName, uint32_t helpNameLength) {
  if (!isText(helpName, helpNameLength)) {
    return TSENC_BAD_ARGUMENT;
  }
  return done([&] { TsEnHelp(topic, textIn(helpName, helpNameLength)); });
}

TsEnC_Result TsEnC_WikiHelp(int32_t topic) {
  return done([&] { TsEnWikiHelp(topic); });
}

TsEnC_Result TsEnC_WikiHelpOnly(int32_t topic) {
  return done([&] { TsEnWikiHelpOnly(topic); });
}
