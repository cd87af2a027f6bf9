/* Tessaline.Environment for every compiler and language: the whole interface
 * of TsEnvironment.h as plain C functions, exported by the same library and
 * answering exactly as the functions of that header do, on the same threads.
 *
 * How to call it
 * - Every function returns a TsEnC_Result: TSENC_OK, or one of the failures
 *   below. Its answer comes back through its last parameters, which must not
 *   be null; on a failure they are left as they were.
 * - A text going in is a pointer and a byte count; it may hold any byte and
 *   needs no terminating zero. A null pointer is allowed with a count of 0.
 * - A text coming out is handed to a sink of the caller's: the function
 *   calls sink(context, text, length) once, before it returns, with the
 *   whole text (length bytes, followed by a zero byte). The text is the
 *   library's and lives only during that call: copy what you keep. The sink
 *   returns 0 when it took the text, anything else when it could not (the
 *   function then returns TSENC_REFUSED).
 * - Nothing is allocated for the caller and nothing is freed by it, except
 *   registry handles, which TsEnC_RegistryRelease releases. No exception
 *   crosses this interface.
 *
 *   static int32_t keep(void* context, const char* text, uint32_t length) {
 *     if (length >= 260) return 1;
 *     memcpy(context, text, length + 1);
 *     return 0;
 *   }
 *   char folder[260];
 *   if (TsEnC_GetAppPath(keep, folder) == TSENC_OK) puts(folder);
 */
#ifndef TSEN_ENVIRONMENT_C_H
#define TSEN_ENVIRONMENT_C_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(TSEN_BUILDING_LIBRARY)
#define TSENC_API __declspec(dllexport)
#elif defined(TSEN_STATIC)
#define TSENC_API
#else
#define TSENC_API __declspec(dllimport)
#endif
#else
#define TSENC_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t TsEnC_Result;
#define TSENC_OK 0
#define TSENC_NO_MEMORY 1    /* the library ran out of memory */
#define TSENC_REFUSED 2      /* the sink did not take the text */
#define TSENC_BAD_ARGUMENT 3 /* a null pointer where one is not allowed */
#define TSENC_TOO_LONG 4     /* a text of 4 GiB or more */
#define TSENC_FAILED 5       /* any other failure inside the library */

typedef int32_t (*TsEnC_TextSink)(void* context, const char* text, uint32_t length);

/* The registry key handle, as the Windows headers declare it (HKEY). */
struct HKEY__;
/* The root keys, with the values the Windows headers give them. */
#define TSENC_HKEY_CLASSES_ROOT ((struct HKEY__*)(intptr_t)(-2147483647 - 1))
#define TSENC_HKEY_CURRENT_USER ((struct HKEY__*)(intptr_t)(-2147483647))
#define TSENC_HKEY_LOCAL_MACHINE ((struct HKEY__*)(intptr_t)(-2147483646))

/* Base folders and flags of TsEnC_BuildFilename. */
#define TSENC_BASE_NONE 0
#define TSENC_BASE_APP_PATH 1
#define TSENC_BASE_USER_DATA 2
#define TSENC_BASE_RESOURCES 3
#define TSENC_BASE_BINARIES 4
#define TSENC_BASE_AUTOCAD 5
#define TSENC_BASE_TEMP 6
#define TSENC_LANG_AT_MARKER 1
#define TSENC_LANG_SUBFOLDER 2

TSENC_API TsEnC_Result TsEnC_QVRConnect(int32_t* connected);
TSENC_API TsEnC_Result TsEnC_GetRegistryKey(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetRegKeyKernelServices(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_BuildRegKey(const char* subKey, uint32_t subKeyLength,
                                         TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetCurrentConfig(TsEnC_TextSink sink, void* context);

TSENC_API TsEnC_Result TsEnC_GetLanguageCode(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetLanguageCodeID(uint32_t* id);
TSENC_API TsEnC_Result TsEnC_GetLanguageName(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetLanguageCountry(TsEnC_TextSink sink, void* context);

TSENC_API TsEnC_Result TsEnC_GetAppPath(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_FileExist(const char* path, uint32_t pathLength, int32_t showMessage,
                                       int32_t* exists);
TSENC_API TsEnC_Result TsEnC_GetUserDataPath(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetMyTessalinePath(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetTempPath(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetTempPathAppDataStyle(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetQuarzelSharedPath(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetTessalineSharedPath(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetResourceName(const char* baseName, uint32_t baseNameLength,
                                             TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_BuildFilename(const char* name, uint32_t nameLength,
                                           int32_t baseFolder, int32_t flags, TsEnC_TextSink sink,
                                           void* context);

TSENC_API TsEnC_Result TsEnC_GetCurrentVersionNumber(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetCurrentVersionNumberMajor(int32_t* number);
TSENC_API TsEnC_Result TsEnC_GetCurrentVersionNumberMinor(int32_t* number);
TSENC_API TsEnC_Result TsEnC_GetCurrentVersionNumberFeaturePack(int32_t* number);
TSENC_API TsEnC_Result TsEnC_GetCurrentVersionNumberUpdate(int32_t* number);

TSENC_API TsEnC_Result TsEnC_Help(int32_t topic, const char* helpName, uint32_t helpNameLength);
TSENC_API TsEnC_Result TsEnC_WikiHelp(int32_t topic);
TSENC_API TsEnC_Result TsEnC_WikiHelpOnly(int32_t topic);

TSENC_API TsEnC_Result TsEnC_GetActiveTessalineDomain(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_GetLastTessalineCommand(TsEnC_TextSink sink, void* context);
TSENC_API TsEnC_Result TsEnC_SetActiveTessalineDomain(const char* domain, uint32_t domainLength,
                                                      int32_t* stored);
TSENC_API TsEnC_Result TsEnC_SetLastTessalineCommand(const char* command, uint32_t commandLength,
                                                     int32_t* stored);
/* setLastTessalineCommand(command, domain). */
TSENC_API TsEnC_Result TsEnC_SetLastTessalineCommandInDomain(const char* command,
                                                             uint32_t commandLength,
                                                             const char* domain,
                                                             uint32_t domainLength,
                                                             int32_t* stored);
TSENC_API TsEnC_Result TsEnC_LogCommandInfo(const char* command, uint32_t commandLength,
                                            const char* domain, uint32_t domainLength,
                                            const char* info, uint32_t infoLength);

/* The registry accessor: a handle is a TsEnWinRegistry: it holds at most one open key. Copies share
 * it: a key opened, created or closed through one copy is the key every copy
 * uses, and the key is closed when the last copy is released. Each copy, new
 * or made by TsEnC_RegistryCopy, is released once. One handle, with its
 * copies, is used by one thread at a time. A call whose answer is false sets
 * *succeeded to 0; ReadLong and ReadString then leave the value as it was. */
typedef struct TsEnWinRegistryState TsEnC_Registry;

TSENC_API TsEnC_Result TsEnC_RegistryNew(TsEnC_Registry** registry);
TSENC_API TsEnC_Result TsEnC_RegistryCopy(TsEnC_Registry* source, TsEnC_Registry** copy);
/* Releasing null does nothing. */
TSENC_API TsEnC_Result TsEnC_RegistryRelease(TsEnC_Registry* registry);
TSENC_API TsEnC_Result TsEnC_RegistryCreate(TsEnC_Registry* registry, struct HKEY__* root,
                                            const char* keyName, uint32_t keyNameLength,
                                            int32_t* succeeded);
TSENC_API TsEnC_Result TsEnC_RegistryOpenKey(TsEnC_Registry* registry, struct HKEY__* root,
                                             const char* keyName, uint32_t keyNameLength,
                                             int32_t create, int32_t* succeeded);
TSENC_API TsEnC_Result TsEnC_RegistryReadLong(TsEnC_Registry* registry, const char* valueName,
                                              uint32_t valueNameLength, int32_t* value,
                                              int32_t* succeeded);
/* The sink is called only when the read succeeds. */
TSENC_API TsEnC_Result TsEnC_RegistryReadString(TsEnC_Registry* registry, const char* valueName,
                                                uint32_t valueNameLength, TsEnC_TextSink sink,
                                                void* context, int32_t* succeeded);
TSENC_API TsEnC_Result TsEnC_RegistryWriteLong(TsEnC_Registry* registry, const char* valueName,
                                               uint32_t valueNameLength, int32_t value,
                                               int32_t* succeeded);
TSENC_API TsEnC_Result TsEnC_RegistryWriteString(TsEnC_Registry* registry, const char* valueName,
                                                 uint32_t valueNameLength, const char* value,
                                                 uint32_t valueLength, int32_t* succeeded);

/* The texts of TsEnvironment.h's constants, by number: each row gives the
 * number, the name of the C++ constant and its text. */
#define TSENC_CONSTANTS(X)                                                                         \
  X(TSENC_TOKEN_APP_PATH, TsEnTokenAppPath, "<APPATH>")                                            \
  X(TSENC_TOKEN_AUTOCAD, TsEnTokenAutoCAD, "<AUTOCAD>")                                            \
  X(TSENC_TOKEN_BINARIES, TsEnTokenBinaries, "<BINARIES>")                                         \
  X(TSENC_TOKEN_CURRENT_CONFIG, TsEnTokenCurrentConfig, "<CURRENTCONFIG>")                         \
  X(TSENC_TOKEN_DEFAULT_CONFIG, TsEnTokenDefaultConfig, "<DEFAULTCONFIG>")                         \
  X(TSENC_TOKEN_LANG_CODE, TsEnTokenLangCode, "<LANGCODE>")                                        \
  X(TSENC_TOKEN_LANG_COUNTRY, TsEnTokenLangCountry, "<LANGCOUNTRY>")                               \
  X(TSENC_TOKEN_LANG_NAME, TsEnTokenLangName, "<LANGNAME>")                                        \
  X(TSENC_TOKEN_MY_TESSALINE, TsEnTokenMyTessaline, "<MYTESSALINE>")                               \
  X(TSENC_TOKEN_TESSALINE_SHARED, TsEnTokenTessalineShared, "<TESSALINESHARED>")                   \
  X(TSENC_TOKEN_RESOURCES, TsEnTokenResources, "<RESOURCES>")                                      \
  X(TSENC_TOKEN_TEMP, TsEnTokenTemp, "<TEMP>")                                                     \
  X(TSENC_TOKEN_USER_DATA, TsEnTokenUserData, "<USERDATA>")                                        \
  X(TSENC_TOKEN_QUARZEL_SHARED, TsEnTokenQuarzelShared, "<QUARZELSHARED>")                         \
  X(TSENC_REG_KEY_QVR_CONNECT, TsEnRegKeyQVRConnect, "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect")   \
  X(TSENC_REG_VALUE_QVR_CONNECT, TsEnRegValueQVRConnect, "QVRConnect")                             \
  X(TSENC_REG_VALUE_CURRENT_CONFIG, TsEnRegValueCurrentConfig, "Current Config")                   \
  X(TSENC_REG_VALUE_LANGUAGE, TsEnRegValueLanguage, "Language")                                    \
  X(TSENC_REG_KEY_MODULES, TsEnRegKeyModules, "Tessaline modules")                                 \
  X(TSENC_REG_VALUE_ACTIVE_DOMAIN, TsEnRegValueActiveDomain, "ActiveDomainKey")                    \
  X(TSENC_REG_VALUE_LAST_COMMAND, TsEnRegValueLastCommand, "LastCommand")                          \
  X(TSENC_REG_VALUE_LOG_COMMANDS, TsEnRegValueLogCommands, "LogCommands")                          \
  X(TSENC_FOLDER_AUTOCAD, TsEnFolderAutoCAD, "AutoCAD")                                            \
  X(TSENC_REG_VALUE_AUTOCAD_KEY, TsEnRegValueAutoCADKey, "AutoCAD Registry Key - x64")             \
  X(TSENC_FOLDER_BINARIES, TsEnFolderBinaries, "Binaries")                                         \
  X(TSENC_FOLDER_HELP, TsEnFolderHelp, "Help")                                                     \
  X(TSENC_FOLDER_PROFILE, TsEnFolderProfile, "TessalineProfile")                                   \
  X(TSENC_FOLDER_BASE_KERNEL, TsEnFolderBaseKernel, "Kernel")
#define TSENC_CONSTANT_NUMBER(number, name, spelling) number,
enum TsEnC_Constant { TSENC_CONSTANTS(TSENC_CONSTANT_NUMBER) TSENC_CONSTANT_COUNT };
/* TSENC_BAD_ARGUMENT for a number outside the list. */
TSENC_API TsEnC_Result TsEnC_GetConstant(int32_t constant, TsEnC_TextSink sink, void* context);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* TSEN_ENVIRONMENT_C_H */
