/* A module written in C that calls every function of the C interface against
 * the installed sample and prints one "name=answer" line per call, for the
 * test to compare with what the sample fixes; a failed call prints its
 * result instead. It needs nothing but the library and kernel32, so the same
 * source builds with mingw-w64 gcc and, without any C runtime, for the
 * Microsoft ABI. */
#include "TsEnvironmentC.h"

#include <stddef.h>
#include <stdint.h>

__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* data, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int status);

#define STD_OUTPUT_HANDLE ((unsigned long)-11)
#define LONG_TEXT 100000u

/* Texts are taken into a buffer of the caller's own, as large as needed. */
static char store[4 * LONG_TEXT];
static uint32_t stored;
static char longName[LONG_TEXT];
static int failures;

static int32_t take(void* context, const char* text, uint32_t length) {
  uint32_t i;
  (void)context;
  if (length >= sizeof store) {
    return 1;
  }
  for (i = 0; i <= length; ++i) { /* with the terminating zero */
    store[i] = text[i];
  }
  stored = length;
  return 0;
}

static uint32_t lengthOf(const char* text) {
  uint32_t length = 0;
  while (text[length] != '\0') {
    ++length;
  }
  return length;
}

static void emit(const char* text, uint32_t length) {
  unsigned long written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, length, &written, NULL);
}

static void say(const char* text) {
  emit(text, lengthOf(text));
}

static void sayNumber(int32_t number) {
  char digits[16];
  int at = (int)sizeof digits;
  uint32_t magnitude = number < 0 ? 0u - (uint32_t)number : (uint32_t)number;
  do {
    digits[--at] = (char)('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (number < 0) {
    digits[--at] = '-';
  }
  emit(digits + at, (uint32_t)(sizeof digits - (size_t)at));
}

/* What a call answered: the fields that show() prints, in this order. */
static int32_t ok;    /* a flag answered */
static int32_t value; /* a number answered */
enum Field { OK = 1, VALUE = 2, TEXT = 4, FOUND = 8, LONG = 16 };

/* Whether the text taken ends with the whole long name. */
static int32_t endsWithLongName(void) {
  uint32_t i;
  const char* tail = stored >= LONG_TEXT ? store + stored - LONG_TEXT : store;
  for (i = 0; stored >= LONG_TEXT && i < LONG_TEXT && tail[i] == longName[i]; ++i) {
  }
  return i == LONG_TEXT;
}

/* "name=" and the fields asked for, read after the call returned: FOUND
 * whether a text was taken (the user's folders depend on the user), LONG
 * whether it ends with the long name. A failed call prints its result. */
static void show(const char* name, TsEnC_Result result, int fields) {
  const int32_t numbers[] = {ok, value, 0, stored > 0, endsWithLongName()};
  int field;
  say(name);
  if (result != TSENC_OK) {
    ++failures;
    say(": result ");
    sayNumber(result);
    fields = 0;
  } else {
    say("=");
  }
  for (field = 0; field < 5; ++field) {
    if (fields & (1 << field)) {
      if (fields & ((1 << field) - 1)) {
        say(" ");
      }
      if (field == 2) {
        emit(store, stored);
      } else {
        sayNumber(numbers[field]);
      }
    }
  }
  say("\n");
  stored = 0;
}

static void settingsAndFolders(void) {
  static const char expanded[] = "Help\\@@\\roadhelp.chm";
  show("QVRConnect", TsEnC_QVRConnect(&value), VALUE);
  show("RegistryKey", TsEnC_GetRegistryKey(take, NULL), TEXT);
  show("KernelServices", TsEnC_GetRegKeyKernelServices(take, NULL), TEXT);
  show("BuildRegKey", TsEnC_BuildRegKey("Tessaline modules", 17, take, NULL), TEXT);
  show("CurrentConfig", TsEnC_GetCurrentConfig(take, NULL), TEXT);
  show("LanguageCode", TsEnC_GetLanguageCode(take, NULL), TEXT);
  show("LanguageCodeID", TsEnC_GetLanguageCodeID((uint32_t*)&value), VALUE);
  show("LanguageName", TsEnC_GetLanguageName(take, NULL), TEXT);
  show("LanguageCountry", TsEnC_GetLanguageCountry(take, NULL), TEXT);
  show("ResourceName", TsEnC_GetResourceName("Road", 4, take, NULL), TEXT);
  TsEnC_GetResourceName("Road", 4, take, NULL);
  show("ResourceExists", TsEnC_FileExist(store, stored, 1, &value), VALUE);
  show("BuildFilename",
       TsEnC_BuildFilename(expanded, lengthOf(expanded), TSENC_BASE_APP_PATH, TSENC_LANG_AT_MARKER,
                           take, NULL),
       TEXT);
  show("Version", TsEnC_GetCurrentVersionNumber(take, NULL), TEXT);
  show("Major", TsEnC_GetCurrentVersionNumberMajor(&value), VALUE);
  show("Minor", TsEnC_GetCurrentVersionNumberMinor(&value), VALUE);
  show("FeaturePack", TsEnC_GetCurrentVersionNumberFeaturePack(&value), VALUE);
  show("Update", TsEnC_GetCurrentVersionNumberUpdate(&value), VALUE);
  show("TokenUserData", TsEnC_GetConstant(TSENC_TOKEN_USER_DATA, take, NULL), TEXT);
  show("UserDataPath", TsEnC_GetUserDataPath(take, NULL), FOUND);
  show("MyTessalinePath", TsEnC_GetMyTessalinePath(take, NULL), FOUND);
  show("TempPath", TsEnC_GetTempPath(take, NULL), FOUND);
  show("TempPathAppDataStyle", TsEnC_GetTempPathAppDataStyle(take, NULL), FOUND);
  show("QuarzelSharedPath", TsEnC_GetQuarzelSharedPath(take, NULL), FOUND);
  show("TessalineSharedPath", TsEnC_GetTessalineSharedPath(take, NULL), FOUND);
  show("AppPath", TsEnC_GetAppPath(take, NULL), TEXT);
  /* A name far past any fixed buffer comes back whole. */
  show("LongName", TsEnC_BuildFilename(longName, LONG_TEXT, TSENC_BASE_APP_PATH, 0, take, NULL),
       LONG);
}

/* The copy keeps the key opened through the first handle after its release;
 * a missing value leaves the number as it was. */
static void registryHandles(void) {
  static const char modules[] = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Tessaline modules";
  static const char scratch[] = "SOFTWARE\\Quarzel\\Tessaline\\CInterfaceScratch";
  TsEnC_Registry* first = NULL;
  TsEnC_Registry* copy = NULL;
  show("RegistryNew", TsEnC_RegistryNew(&first), 0);
  show("RegistryCopy", TsEnC_RegistryCopy(first, &copy), 0);
  show("RegistryOpenKey",
       TsEnC_RegistryOpenKey(first, TSENC_HKEY_CURRENT_USER, modules, lengthOf(modules), 0, &ok),
       OK);
  show("RegistryRelease", TsEnC_RegistryRelease(first), 0);
  show("RegistryReadString", TsEnC_RegistryReadString(copy, "ActiveDomainKey", 15, take, NULL, &ok),
       OK | TEXT);
  value = 7;
  show("RegistryReadLong", TsEnC_RegistryReadLong(copy, "Missing", 7, &value, &ok), OK | VALUE);
  show("RegistryCreate",
       TsEnC_RegistryCreate(copy, TSENC_HKEY_CURRENT_USER, scratch, lengthOf(scratch), &ok), OK);
  show("RegistryWriteLong", TsEnC_RegistryWriteLong(copy, "Number", 6, -5, &ok), OK);
  show("RegistryReadLong", TsEnC_RegistryReadLong(copy, "Number", 6, &value, &ok), OK | VALUE);
  show("RegistryWriteString", TsEnC_RegistryWriteString(copy, "Long", 4, longName, LONG_TEXT, &ok),
       OK);
  show("RegistryReadString", TsEnC_RegistryReadString(copy, "Long", 4, take, NULL, &ok), OK | LONG);
  show("RegistryRelease", TsEnC_RegistryRelease(copy), 0);
}

/* The sample's own values are stored again, so the answers stay the
 * sample's. Each help call opens the address of its page (recorded by the
 * test), none shows a box. */
static void sessionAndHelp(void) {
  show("SetActiveTessalineDomain", TsEnC_SetActiveTessalineDomain("ROAD", 4, &ok), OK);
  show("SetLastTessalineCommand", TsEnC_SetLastTessalineCommand("RoadAlign", 9, &ok), OK);
  show("SetLastTessalineCommandInDomain",
       TsEnC_SetLastTessalineCommandInDomain("RoadAlign", 9, "ROAD", 4, &ok), OK);
  show("SetEmptyDomain", TsEnC_SetActiveTessalineDomain("", 0, &ok), OK);
  show("ActiveDomain", TsEnC_GetActiveTessalineDomain(take, NULL), TEXT);
  show("LastCommand", TsEnC_GetLastTessalineCommand(take, NULL), TEXT);
  show("LogCommandInfo", TsEnC_LogCommandInfo("RoadAlign", 9, "*", 1, "from C", 6), 0);
  show("WikiHelpOnly", TsEnC_WikiHelpOnly(101), 0);
  show("WikiHelp", TsEnC_WikiHelp(100), 0);
  show("Help", TsEnC_Help(1, "generalhelp", 11), 0);
}

static int run(void) {
  uint32_t i;
  for (i = 0; i < LONG_TEXT; ++i) {
    longName[i] = (char)('a' + i % 26);
  }
  settingsAndFolders();
  registryHandles();
  sessionAndHelp();
  return failures == 0 ? 0 : 1;
}

#if defined(TSEN_NO_RUNTIME)
void entry(void) {
  ExitProcess((unsigned int)run());
}
#else
int main(void) {
  return run();
}
#endif
