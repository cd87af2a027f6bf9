// Tessaline.Environment: where the suite is installed, where its users keep
// their data, which settings, language and version are in force, and how help
// for a command is shown. Every text is an 8-bit string in the system's ANSI
// code page; folder paths carry no trailing backslash.
//
// Nothing needs initialising: call any function from any thread. Failures are
// answered with false, an empty string, 0 or the documented fallback; nothing
// is thrown on the library's own account.
//
// Two ways to reach the library, with the same declarations: a module built
// with its own toolchain (mingw-w64 GCC, or libstdc++ with its new string ABI
// on other systems) calls the exports directly; any other toolchain (such as
// Microsoft's compiler, clang-cl or libc++; C++17 or later), or a module that
// defines TSEN_USE_C_INTERFACE as 1, gets them defined inline over the plain
// C interface of TsEnvironmentC.h and links only its exports.
#pragma once

#include <cstdint>
#include <string>

#if !defined(TSEN_USE_C_INTERFACE)
#if defined(__GLIBCXX__) && defined(_GLIBCXX_USE_CXX11_ABI) &&                                     \
    (defined(__MINGW64__) || !defined(_WIN32))
#define TSEN_USE_C_INTERFACE (!_GLIBCXX_USE_CXX11_ABI)
#else
#define TSEN_USE_C_INTERFACE 1
#endif
#endif
#if TSEN_USE_C_INTERFACE && defined(TSEN_BUILDING_LIBRARY)
#error "The library itself is built with its direct exports."
#endif

// The C interface, whose export macro marks this header's exports too.
#include "TsEnvironmentC.h"

// As <windows.h> declares it, so that the two may be included in either order.
typedef struct HKEY__* HKEY;

// Windows' long; 32 bits on other systems too, so values read the same.
#if defined(_WIN32)
typedef long TsEnLong;
#else
typedef std::int32_t TsEnLong;
#endif

struct TsEnWinRegistryState;

#if TSEN_USE_C_INTERFACE
#define TSEN_CLASS
#else
#define TSEN_CLASS TSENC_API
#endif
// Holds at most one open registry key and reads and writes its values.
// Copies share one state: a key opened, created or closed through one copy is
// the key every other copy uses. The state, and the key it holds, are closed
// and released once, when the last copy referring to them is destroyed. One
// accessor, with its copies, is used by one thread at a time.
class TSEN_CLASS TsEnWinRegistry {
public:
  TsEnWinRegistry();
  TsEnWinRegistry(const TsEnWinRegistry& other);
  TsEnWinRegistry& operator=(const TsEnWinRegistry& other);
  virtual ~TsEnWinRegistry();

  // Opens keyName below root, creating it and any missing keys on its path.
  // True at once, touching nothing, when keyName is exactly the name this
  // accessor last created and still holds.
  bool Create(HKEY root, std::string keyName);
  // Opens keyName below root, with create true creating it when missing. The
  // key held before is closed in any case.
  bool OpenKey(HKEY root, std::string keyName, bool create);
  // A value of at most four bytes, lowest byte first. A failed read, here and
  // in ReadString, leaves value untouched.
  bool ReadLong(std::string valueName, TsEnLong& value);
  // Any value as text, up to its first zero byte.
  bool ReadString(std::string valueName, std::string& value);
  bool WriteLong(std::string valueName, TsEnLong value);
  // A REG_SZ value, with its terminating zero.
  bool WriteString(std::string valueName, std::string value);

private:
  TsEnWinRegistryState* state_;
};

// Base folders of TsEnBuildFilename: the folder put in front of a name.
enum TsEnBaseFolder : int {
  TsEnBaseNone = TSENC_BASE_NONE,           // nothing; any value not listed counts as this
  TsEnBaseAppPath = TSENC_BASE_APP_PATH,    // the application folder
  TsEnBaseUserData = TSENC_BASE_USER_DATA,  // the user data folder of the current configuration
  TsEnBaseResources = TSENC_BASE_RESOURCES, // the application folder's Resources folder
  TsEnBaseBinaries = TSENC_BASE_BINARIES,   // the application folder's Binaries folder
  TsEnBaseAutoCAD = TSENC_BASE_AUTOCAD,     // the application folder's AutoCAD folder
  TsEnBaseTemp = TSENC_BASE_TEMP,           // the temporary folder
};

// Flags of TsEnBuildFilename: the language code replaces the first "@@"; the
// language code becomes a folder in front of the name's last component.
constexpr int TsEnLangAtMarker = TSENC_LANG_AT_MARKER;
constexpr int TsEnLangSubfolder = TSENC_LANG_SUBFOLDER;

// TSEN_FUNCTION(Answer, name, (parameters), cFunction, arguments...) declares
// an export, TSEN_CONSTANT a constant; over the C interface both are defined
// inline over the C functions.
#if TSEN_USE_C_INTERFACE
#include "TsEnvironmentOverC.h"
#else
#define TSEN_FUNCTION(Answer, name, parameters, ...) TSENC_API Answer name parameters;
#define TSEN_CONSTANT(number, name, spelling) extern TSENC_API const std::string name;
#if defined(__clang__)
#pragma clang diagnostic push
// These exports keep plain names while passing standard strings, as the
// suite's modules expect; all sides are C++.
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif

extern "C" {
#endif

// ---- Registry layout and configuration -----------------------------------

// True when the 19.01 registry layout is in force: the value "QVRConnect" of
// HKEY_CURRENT_USER\SOFTWARE\Quarzel\Tessaline\QVRConnect reads as exactly 1.
// Read afresh on every call.
TSEN_FUNCTION(bool, TsEnQVRConnect, (), TsEnC_QVRConnect)
// The product key root of the layout in force, relative to a root key.
TSEN_FUNCTION(std::string, TsEnGetRegistryKey, (), TsEnC_GetRegistryKey)
TSEN_FUNCTION(std::string, TsEnGetRegKeyKernelServices, (), TsEnC_GetRegKeyKernelServices)
// The product key root, one backslash, then subKey unchanged.
TSEN_FUNCTION(std::string, TsEnBuildRegKey, (const std::string& subKey), TsEnC_BuildRegKey, subKey)
// The current configuration name ("Current Config"), empty when none is set.
TSEN_FUNCTION(std::string, TsEnGetCurrentConfig, (), TsEnC_GetCurrentConfig)

// ---- Language ------------------------------------------------------------

// The language code as stored ("Language"), read once and then kept; empty
// while none is stored.
TSEN_FUNCTION(std::string, TsEnGetLanguageCode, (), TsEnC_GetLanguageCode)
// The code's Windows language identifier, name and country; English
// (2057, "English", "England") for every code outside the suite's table.
TSEN_FUNCTION(unsigned int, TsEnGetLanguageCodeID, (), TsEnC_GetLanguageCodeID)
TSEN_FUNCTION(std::string, TsEnGetLanguageName, (), TsEnC_GetLanguageName)
TSEN_FUNCTION(std::string, TsEnGetLanguageCountry, (), TsEnC_GetLanguageCountry)

// ---- Folders ---------------------------------------------------------------

// The application folder: the parent of the "Binaries" folder holding this
// library. Empty when the library lies in a folder of another name.
TSEN_FUNCTION(std::string, TsEnGetAppPath, (), TsEnC_GetAppPath)
// True when path names an existing file or folder. With showMessage, a
// missing path is reported to the user first. An empty path is false, quietly.
TSEN_FUNCTION(bool, TsEnFileExist, (const std::string& path, bool showMessage), TsEnC_FileExist,
              path, showMessage)
// The user data folder of the current configuration below the roaming
// application data folder; empty without a configuration. Not created.
TSEN_FUNCTION(std::string, TsEnGetUserDataPath, (), TsEnC_GetUserDataPath)
// "My Tessaline Directory", else the user data folder; kept once found.
TSEN_FUNCTION(std::string, TsEnGetMyTessalinePath, (), TsEnC_GetMyTessalinePath)
// Empty when the system cannot give it.
TSEN_FUNCTION(std::string, TsEnGetTempPath, (), TsEnC_GetTempPath)
// The current configuration's folder below the temporary folder, created
// with every missing parent; empty without a configuration.
TSEN_FUNCTION(std::string, TsEnGetTempPathAppDataStyle, (), TsEnC_GetTempPathAppDataStyle)
// The maker's folder below the common files folder, and the suite's inside
// it; empty when the system cannot give the common files folder.
TSEN_FUNCTION(std::string, TsEnGetQuarzelSharedPath, (), TsEnC_GetQuarzelSharedPath)
TSEN_FUNCTION(std::string, TsEnGetTessalineSharedPath, (), TsEnC_GetTessalineSharedPath)
// The full path of baseName's resource library in the Resources folder, for
// the current language, else English; empty when neither is installed.
TSEN_FUNCTION(std::string, TsEnGetResourceName, (const std::string& baseName),
              TsEnC_GetResourceName, baseName)

// ---- File names ----------------------------------------------------------

// Expands a file name: the language marker and subfolder (flags), a base
// folder (TsEnBaseFolder) and the placeholder tokens, each found once in any
// letter case. "<DEFAULTCONFIG>" falls back to the configuration "Default"
// and tells the user when neither exists. Never fails: what cannot be
// expanded stays as written.
TSEN_FUNCTION(std::string, TsEnBuildFilename, (const std::string& name, int baseFolder, int flags),
              TsEnC_BuildFilename, name, baseFolder, flags)

// ---- Version ---------------------------------------------------------------

// "18.40" or "19.01" by the registry layout in force, and its major and minor.
TSEN_FUNCTION(std::string, TsEnGetCurrentVersionNumber, (), TsEnC_GetCurrentVersionNumber)
TSEN_FUNCTION(int, TsEnGetCurrentVersionNumberMajor, (), TsEnC_GetCurrentVersionNumberMajor)
TSEN_FUNCTION(int, TsEnGetCurrentVersionNumberMinor, (), TsEnC_GetCurrentVersionNumberMinor)
// From the installed About file, 0 when there is none.
TSEN_FUNCTION(int, TsEnGetCurrentVersionNumberFeaturePack, (),
              TsEnC_GetCurrentVersionNumberFeaturePack)
TSEN_FUNCTION(int, TsEnGetCurrentVersionNumberUpdate, (), TsEnC_GetCurrentVersionNumberUpdate)

// ---- Help ------------------------------------------------------------------

// Shows help for topic (0: the contents) of the compiled help file helpName
// (without ".chm"), offering the request to the help wiki first.
TSEN_FUNCTION(void, TsEnHelp, (int topic, const std::string& helpName), TsEnC_Help, topic, helpName)
// Opens the wiki page of topic in the user's browser, or compiled help where
// the help settings ask for it.
TSEN_FUNCTION(void, TsEnWikiHelp, (int topic), TsEnC_WikiHelp, topic)
// Opens the wiki page of topic, whatever the help settings and exceptions say.
TSEN_FUNCTION(void, TsEnWikiHelpOnly, (int topic), TsEnC_WikiHelpOnly, topic)

#if !TSEN_USE_C_INTERFACE
} // extern "C"

#if defined(__clang__)
#pragma clang diagnostic pop
#endif
#endif

// ---- Session state and command log (exported with their C++ signatures) ----

// The active domain shared by the suite's modules, and the command stored
// last by any module; empty when none is stored.
TSEN_FUNCTION(std::string, getActiveTessalineDomain, (), TsEnC_GetActiveTessalineDomain)
TSEN_FUNCTION(std::string, getLastTessalineCommand, (), TsEnC_GetLastTessalineCommand)
// Stores the active domain; false for an empty domain or a failed write.
TSEN_FUNCTION(bool, setActiveTessalineDomain, (const std::string& domain),
              TsEnC_SetActiveTessalineDomain, domain)
// Stores the last command and appends it to the command log with the active
// domain; false for an empty command or a failed write.
TSEN_FUNCTION(bool, setLastTessalineCommand, (const std::string& command),
              TsEnC_SetLastTessalineCommand, command)
// Stores domain as the active domain, then the command as above. A refused
// domain stores and logs nothing.
TSEN_FUNCTION(bool, setLastTessalineCommand,
              (const std::string& command, const std::string& domain),
              TsEnC_SetLastTessalineCommandInDomain, command, domain)
// Appends "command;time;domain;info" to the user's command log unless the
// "LogCommands" switch turns logging off. domain "*" stands for the stored
// active domain.
TSEN_FUNCTION(void, LogCommandInfo,
              (const std::string& command, const std::string& domain, const std::string& info),
              TsEnC_LogCommandInfo, command, domain, info)

// Texts shared with the suite's modules: placeholder tokens, registry names
// and folder names, listed with their texts in TsEnvironmentC.h. Built when
// the library is loaded (over the C interface: when the module is).
TSENC_CONSTANTS(TSEN_CONSTANT)
