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

/* "name=" and the text taken (texts), "name=N" (numbers, flags) or both;
 * "name: result R" for a failed call. */
enum Show { TEXT, NUMBER, BOTH };
static void show(const char* name, TsEnC_Result result, enum Show what, int32_t number) {
  say(name);
  if (result != TSENC_OK) {
    ++failures;
    say(": result ");
    sayNumber(result);
  } else {
    say("=");
    if (what != TEXT) {
      sayNumber(number);
    }
    if (what == BOTH) {
      say(" ");
    }
    if (what != NUMBER) {
      emit(store, stored);
    }
  }
  say("\n");
  stored = 0;
}

/* The user's folders depend on the user: they must be there, not fixed. */
static void showFound(const char* name, TsEnC_Result result) {
  show(name, result, NUMBER, stored > 0);
}

/* Whether the text taken ends with the whole long name. */
static int32_t endsWithLongName(void) {
  uint32_t i;
  const char* tail = stored >= LONG_TEXT ? store + stored - LONG_TEXT : store;
  for (i = 0; stored >= LONG_TEXT && i < LONG_TEXT && tail[i] == longName[i]; ++i) {
  }
  stored = 0;
  return i == LONG_TEXT;
}

static void settingsAndFolders(void) {
  static const char expanded[] = "Help\\@@\\roadhelp.chm";
  int32_t number = -1;
  uint32_t id = 0;
  show("QVRConnect", TsEnC_QVRConnect(&number), NUMBER, number);
  show("RegistryKey", TsEnC_GetRegistryKey(take, NULL), TEXT, 0);
  show("KernelServices", TsEnC_GetRegKeyKernelServices(take, NULL), TEXT, 0);
  show("BuildRegKey", TsEnC_BuildRegKey("Tessaline modules", 17, take, NULL), TEXT, 0);
  show("CurrentConfig", TsEnC_GetCurrentConfig(take, NULL), TEXT, 0);
  show("LanguageCode", TsEnC_GetLanguageCode(take, NULL), TEXT, 0);
  show("LanguageCodeID", TsEnC_GetLanguageCodeID(&id), NUMBER, (int32_t)id);
  show("LanguageName", TsEnC_GetLanguageName(take, NULL), TEXT, 0);
  show("LanguageCountry", TsEnC_GetLanguageCountry(take, NULL), TEXT, 0);
  show("ResourceName", TsEnC_GetResourceName("Road", 4, take, NULL), TEXT, 0);
  show("ResourceExists", TsEnC_FileExist(store, stored, 1, &number), NUMBER, number);
  show("BuildFilename",
       TsEnC_BuildFilename(expanded, lengthOf(expanded), TSENC_BASE_APP_PATH, TSENC_LANG_AT_MARKER,
                           take, NULL),
       TEXT, 0);
  show("Version", TsEnC_GetCurrentVersionNumber(take, NULL), TEXT, 0);
  show("Major", TsEnC_GetCurrentVersionNumberMajor(&number), NUMBER, number);
  show("Minor", TsEnC_GetCurrentVersionNumberMinor(&number), NUMBER, number);
  show("FeaturePack", TsEnC_GetCurrentVersionNumberFeaturePack(&number), NUMBER, number);
  show("Update", TsEnC_GetCurrentVersionNumberUpdate(&number), NUMBER, number);
  show("TokenUserData", TsEnC_GetConstant(TSENC_TOKEN_USER_DATA, take, NULL), TEXT, 0);
  showFound("UserDataPath", TsEnC_GetUserDataPath(take, NULL));
  showFound("MyTessalinePath", TsEnC_GetMyTessalinePath(take, NULL));
  showFound("TempPath", TsEnC_GetTempPath(take, NULL));
  showFound("TempPathAppDataStyle", TsEnC_GetTempPathAppDataStyle(take, NULL));
  showFound("QuarzelSharedPath", TsEnC_GetQuarzelSharedPath(take, NULL));
  showFound("TessalineSharedPath", TsEnC_GetTessalineSharedPath(take, NULL));
  show("AppPath", TsEnC_GetAppPath(take, NULL), TEXT, 0);
  /* A name far past any fixed buffer comes back whole. */
  show("LongName", TsEnC_BuildFilename(longName, LONG_TEXT, TSENC_BASE_APP_PATH, 0, take, NULL),
       NUMBER, endsWithLongName());
}

/* The copy keeps the key opened through the first handle after its release. */
static void registryHandles(void) {
  static const char modules[] = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Tessaline modules";
  static const char scratch[] = "SOFTWARE\\Quarzel\\Tessaline\\CInterfaceScratch";
  TsEnC_Registry* first = NULL;
  TsEnC_Registry* copy = NULL;
  int32_t ok = -1;
  int32_t number = 7;
  show("RegistryNew", TsEnC_RegistryNew(&first), NUMBER, first != NULL);
  show("RegistryCopy", TsEnC_RegistryCopy(first, &copy), NUMBER, copy != NULL);
  show("RegistryOpenKey",
       TsEnC_RegistryOpenKey(first, TSENC_HKEY_CURRENT_USER, modules, lengthOf(modules), 0, &ok),
       NUMBER, ok);
  show("RegistryRelease", TsEnC_RegistryRelease(first), NUMBER, 0);
  show("RegistryReadString", TsEnC_RegistryReadString(copy, "ActiveDomainKey", 15, take, NULL, &ok),
       BOTH, ok);
  show("RegistryReadLong", TsEnC_RegistryReadLong(copy, "Missing", 7, &number, &ok), NUMBER, ok);
  say("untouched=");
  sayNumber(number);
  say("\n");
  show("RegistryCreate",
       TsEnC_RegistryCreate(copy, TSENC_HKEY_CURRENT_USER, scratch, lengthOf(scratch), &ok), NUMBER,
       ok);
  show("RegistryWriteLong", TsEnC_RegistryWriteLong(copy, "Number", 6, -5, &ok), NUMBER, ok);
  show("RegistryReadLong", TsEnC_RegistryReadLong(copy, "Number", 6, &number, &ok), NUMBER,
       ok * number);
  show("RegistryWriteString", TsEnC_RegistryWriteString(copy, "Long", 4, longName, LONG_TEXT, &ok),
       NUMBER, ok);
  show("RegistryReadString", TsEnC_RegistryReadString(copy, "Long", 4, take, NULL, &ok), NUMBER,
       ok * endsWithLongName());
  show("RegistryRelease", TsEnC_RegistryRelease(copy), NUMBER, 0);
}

/* The sample's own values are stored again, so the answers stay the
 * sample's. Each help call opens the address of its page (recorded by the
 * test), none shows a box. */
static void sessionAndHelp(void) {
  int32_t done = -1;
  show("SetActiveTessalineDomain", TsEnC_SetActiveTessalineDomain("ROAD", 4, &done), NUMBER, done);
  show("SetLastTessalineCommand", TsEnC_SetLastTessalineCommand("RoadAlign", 9, &done), NUMBER,
       done);
  show("SetLastTessalineCommandInDomain",
       TsEnC_SetLastTessalineCommandInDomain("RoadAlign", 9, "ROAD", 4, &done), NUMBER, done);
  show("SetEmptyDomain", TsEnC_SetActiveTessalineDomain("", 0, &done), NUMBER, done);
  show("ActiveDomain", TsEnC_GetActiveTessalineDomain(take, NULL), TEXT, 0);
  show("LastCommand", TsEnC_GetLastTessalineCommand(take, NULL), TEXT, 0);
  show("LogCommandInfo", TsEnC_LogCommandInfo("RoadAlign", 9, "*", 1, "from C", 6), NUMBER, 0);
  show("WikiHelpOnly", TsEnC_WikiHelpOnly(101), NUMBER, 0);
  show("WikiHelp", TsEnC_WikiHelp(100), NUMBER, 0);
  show("Help", TsEnC_Help(1, "generalhelp", 11), NUMBER, 0);
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
/* Without a C runtime the compiler may still ask for these. */
void* memset(void* target, int byte, size_t size) {
  unsigned char* bytes = (unsigned char*)target;
  while (size-- != 0) {
    *bytes++ = (unsigned char)byte;
  }
  return target;
}
void* memcpy(void* target, const void* source, size_t size) {
  unsigned char* to = (unsigned char*)target;
  const unsigned char* from = (const unsigned char*)source;
  while (size-- != 0) {
    *to++ = *from++;
  }
  return target;
}

void entry(void) {
  ExitProcess((unsigned int)run());
}
#else
int main(void) {
  return run();
}
#endif
