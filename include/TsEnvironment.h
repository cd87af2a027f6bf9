// Tessaline.Environment: where the suite is installed, where its users keep
// their data, which settings, language and version are in force, and how help
// for a command is shown. Every text is an 8-bit string in the system's ANSI
// code page; folder paths carry no trailing backslash.
//
// Nothing needs initialising: call any function from any thread. Failures are
// answered with false, an empty string, 0 or the documented fallback; nothing
// is thrown on the library's own account.
//
// Two ways to reach the library, with the same declarations. A module built
// with the library's own toolchain (mingw-w64 GCC, or any compiler using
// libstdc++ with its new string ABI on systems other than Windows) calls the
// exports below directly. Any other toolchain, such as Microsoft's compiler,
// clang-cl or libc++, gets the declarations below defined inline over the
// plain C interface of TsEnvironmentC.h (C++17 or later) and links only its
// exports. Define TSEN_USE_C_INTERFACE as 1 to choose the C interface with
// any toolchain.
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

// TSEN_FUNCTION and TSEN_CLASS mark what the library exports for direct
// callers; over the C interface the same declarations are defined inline.
#if TSEN_USE_C_INTERFACE
#define TSEN_FUNCTION inline
#define TSEN_CLASS
#else
#define TSEN_FUNCTION TSENC_API
#define TSEN_CLASS TSENC_API
#endif

// The registry key handle type, declared exactly as <windows.h> declares it,
// so this header and <windows.h> can be included in either order.
typedef struct HKEY__* HKEY;

// The 32-bit signed integer of the registry accessor: Windows' long. Other
// platforms keep it 32 bits wide so values read the same everywhere.
#if defined(_WIN32)
typedef long TsEnLong;
#else
typedef std::int32_t TsEnLong;
#endif

struct TsEnWinRegistryState;

// Holds at most one open registry key and reads and writes its values.
// Copies share one state: a key opened, created or closed through one copy is
// the key every other copy uses. The state, and the key it holds, are closed
// and released once, when the last copy referring to them is destroyed. One
// accessor, with its copies, is used by one thread at a time.
class TSEN_CLASS TsEnWinRegistry {
public:
  // An accessor that holds no key.
  TsEnWinRegistry();
  // Shares the source's key.
  TsEnWinRegistry(const TsEnWinRegistry& other);
  // Shares the source's key; the key held before is closed when no other
  // accessor refers to it.
  TsEnWinRegistry& operator=(const TsEnWinRegistry& other);
  // Closes the held key once no other accessor refers to it.
  virtual ~TsEnWinRegistry();

  // Opens keyName below root, creating it and any missing keys on its path.
  // Returns true at once, touching nothing, when keyName is exactly the name
  // this accessor last created and still holds.
  bool Create(HKEY root, std::string keyName);
  // Opens the existing key keyName below root; with create true, a missing
  // key is created first. The key held before is closed in any case.
  bool OpenKey(HKEY root, std::string keyName, bool create);
  // Reads a value of at most four bytes into value, lowest byte first.
  // value is untouched when no key is held or the value is missing.
  bool ReadLong(std::string valueName, TsEnLong& value);
  // Reads any value as text, up to its first zero byte. value is untouched
  // on failure.
  bool ReadString(std::string valueName, std::string& value);
  // Writes a REG_DWORD value.
  bool WriteLong(std::string valueName, TsEnLong value);
  // Writes a REG_SZ value, with its terminating zero.
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

// Flags of TsEnBuildFilename.
// Replaces the first "@@" in the name by the language code.
constexpr int TsEnLangAtMarker = TSENC_LANG_AT_MARKER;
// Puts the language code as a folder in front of the name's last component.
constexpr int TsEnLangSubfolder = TSENC_LANG_SUBFOLDER;

#if !TSEN_USE_C_INTERFACE
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
TSEN_FUNCTION bool TsEnQVRConnect();
// The product key root of the layout in force, relative to a root key.
TSEN_FUNCTION std::string TsEnGetRegistryKey();
// The product's Kernel Services key of the layout in force.
TSEN_FUNCTION std::string TsEnGetRegKeyKernelServices();
// The product key root, one backslash, then subKey unchanged.
TSEN_FUNCTION std::string TsEnBuildRegKey(const std::string& subKey);
// The current configuration name ("Current Config"), empty when none is set.
TSEN_FUNCTION std::string TsEnGetCurrentConfig();

// ---- Language ------------------------------------------------------------

// The language code as stored ("Language"), read once and then kept; empty
// while none is stored.
TSEN_FUNCTION std::string TsEnGetLanguageCode();
// The Windows language identifier of the language code; 2057 (English) for
// every code outside the suite's table.
TSEN_FUNCTION unsigned int TsEnGetLanguageCodeID();
// The English name of the language, "English" outside the table.
TSEN_FUNCTION std::string TsEnGetLanguageName();
// The language's country, "England" outside the table.
TSEN_FUNCTION std::string TsEnGetLanguageCountry();

// ---- Folders ---------------------------------------------------------------

// The application folder: the parent of the "Binaries" folder holding this
// library. Empty when the library lies in a folder of another name.
TSEN_FUNCTION std::string TsEnGetAppPath();
// True when path names an existing file or folder. With showMessage, a
// missing path is reported to the user first. An empty path is false, quietly.
TSEN_FUNCTION bool TsEnFileExist(const std::string& path, bool showMessage);
// The user data folder of the current configuration below the roaming
// application data folder; empty without a configuration. Not created.
TSEN_FUNCTION std::string TsEnGetUserDataPath();
// The user's My Tessaline folder ("My Tessaline Directory", else the user
// data folder), kept once found.
TSEN_FUNCTION std::string TsEnGetMyTessalinePath();
// The temporary folder; empty when the system cannot give it.
TSEN_FUNCTION std::string TsEnGetTempPath();
// The current configuration's folder below the temporary folder, created
// with every missing parent; empty without a configuration.
TSEN_FUNCTION std::string TsEnGetTempPathAppDataStyle();
// The maker's folder below the common files folder; empty when the system
// cannot give that folder.
TSEN_FUNCTION std::string TsEnGetQuarzelSharedPath();
// The suite's folder inside the maker's shared folder.
TSEN_FUNCTION std::string TsEnGetTessalineSharedPath();
// The full path of baseName's resource library in the Resources folder, for
// the current language, else English; empty when neither is installed.
TSEN_FUNCTION std::string TsEnGetResourceName(const std::string& baseName);

// ---- File names ----------------------------------------------------------

// Expands a file name: the language marker and subfolder (flags), a base
// folder (TsEnBaseFolder) and the placeholder tokens, each found once in any
// letter case. "<DEFAULTCONFIG>" falls back to the configuration "Default"
// and tells the user when neither exists. Never fails: what cannot be
// expanded stays as written.
TSEN_FUNCTION std::string TsEnBuildFilename(const std::string& name, int baseFolder, int flags);

// ---- Version ---------------------------------------------------------------

// "18.40" or "19.01", following the registry layout in force.
TSEN_FUNCTION std::string TsEnGetCurrentVersionNumber();
// 18 or 19.
TSEN_FUNCTION int TsEnGetCurrentVersionNumberMajor();
// 40 or 1.
TSEN_FUNCTION int TsEnGetCurrentVersionNumberMinor();
// The feature pack from the installed About file, 0 when there is none.
TSEN_FUNCTION int TsEnGetCurrentVersionNumberFeaturePack();
// The update from the installed About file, 0 when there is none.
TSEN_FUNCTION int TsEnGetCurrentVersionNumberUpdate();

// ---- Help ------------------------------------------------------------------

// Shows help for topic (0: the contents) of the compiled help file helpName
// (without ".chm"), offering the request to the help wiki first.
TSEN_FUNCTION void TsEnHelp(int topic, const std::string& helpName);
// Opens the wiki page of topic in the user's browser, or compiled help where
// the help settings ask for it.
TSEN_FUNCTION void TsEnWikiHelp(int topic);
// Opens the wiki page of topic, whatever the help settings and exceptions say.
TSEN_FUNCTION void TsEnWikiHelpOnly(int topic);

#if !TSEN_USE_C_INTERFACE
} // extern "C"

#if defined(__clang__)
#pragma clang diagnostic pop
#endif
#endif

// ---- Session state and command log (exported with their C++ signatures) ----

// The active domain shared by the suite's modules; empty when none is stored.
TSEN_FUNCTION std::string getActiveTessalineDomain();
// The command stored last by any module; empty when none is stored.
TSEN_FUNCTION std::string getLastTessalineCommand();
// Stores the active domain; false for an empty domain or a failed write.
TSEN_FUNCTION bool setActiveTessalineDomain(const std::string& domain);
// Stores the last command and appends it to the command log with the active
// domain; false for an empty command or a failed write.
TSEN_FUNCTION bool setLastTessalineCommand(const std::string& command);
// Stores domain as the active domain, then the command as above. A refused
// domain stores and logs nothing.
TSEN_FUNCTION bool setLastTessalineCommand(const std::string& command, const std::string& domain);
// Appends "command;time;domain;info" to the user's command log unless the
// "LogCommands" switch turns logging off. domain "*" stands for the stored
// active domain.
TSEN_FUNCTION void LogCommandInfo(const std::string& command, const std::string& domain,
                                  const std::string& info);

#if TSEN_USE_C_INTERFACE
#include "TsEnvironmentOverC.h"
#endif

// Texts shared with the suite's modules: placeholder tokens, registry names
// and folder names, listed with their texts in TsEnvironmentC.h. Built when
// the library is loaded (over the C interface: when the module is).
#if TSEN_USE_C_INTERFACE
// Named apart from the library's own, which a program may see beside them.
#define TSEN_CONSTANT(number, name, spelling)                                                      \
  namespace TsEnOverC::constants {                                                                 \
  inline const std::string name = TsEnOverC::text(TsEnC_GetConstant, number);                      \
  }                                                                                                \
  using TsEnOverC::constants::name;
#else
#define TSEN_CONSTANT(number, name, spelling) extern TSENC_API const std::string name;
#endif
TSENC_CONSTANTS(TSEN_CONSTANT)
