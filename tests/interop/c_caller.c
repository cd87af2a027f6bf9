/* A module written in C that calls every function of the C interface against
 * the installed sample: it prints the answers that the sample fixes, one
 * "name=answer" line each, for the test to compare, and checks for itself
 * what it can (results, long texts, the handle's sharing rules). It needs
 * nothing but the library and kernel32, so the same source builds with
 * mingw-w64 gcc and, without any C runtime, for the Microsoft ABI. */
#include "TsEnvironmentC.h"

#include <stddef.h>
#include <stdint.h>

__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* data, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int status);

#define STD_OUTPUT_HANDLE ((unsigned long)-11)
#define LONG_TEXT 100000u

/* Texts are taken into buffers of the caller's own, as large as needed. */
typedef struct Buffer {
  char* data;
  uint32_t capacity;
  uint32_t length;
} Buffer;

static char shortStore[4096];
static char longStore[4 * LONG_TEXT];
static char nameStore[LONG_TEXT + 64];
static Buffer answer = {shortStore, sizeof shortStore, 0};
static Buffer longAnswer = {longStore, sizeof longStore, 0};
static int failures;
static int checks;

static int32_t take(void* context, const char* text, uint32_t length) {
  Buffer* buffer = (Buffer*)context;
  uint32_t i;
  if (length >= buffer->capacity) {
    return 1;
  }
  for (i = 0; i <= length; ++i) { /* with the terminating zero */
    buffer->data[i] = text[i];
  }
  buffer->length = length;
  return 0;
}

static int32_t refuse(void* context, const char* text, uint32_t length) {
  (void)context;
  (void)text;
  (void)length;
  return 1;
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

static void check(int holds, const char* what) {
  ++checks;
  if (!holds) {
    ++failures;
    say("FAILED: ");
    say(what);
    say("\n");
  }
}

/* Prints "name=text" for a function that hands out a text. */
static void showText(const char* name, TsEnC_Result result) {
  check(result == TSENC_OK, name);
  say(name);
  say("=");
  emit(answer.data, answer.length);
  say("\n");
}

static void showNumber(const char* name, TsEnC_Result (*get)(int32_t*)) {
  int32_t number = -1;
  check(get(&number) == TSENC_OK, name);
  say(name);
  say("=");
  sayNumber(number);
  say("\n");
}

static int sameText(const char* left, uint32_t leftLength, const char* right, uint32_t rightLength) {
  uint32_t i;
  if (leftLength != rightLength) {
    return 0;
  }
  for (i = 0; i < leftLength; ++i) {
    if (left[i] != right[i]) {
      return 0;
    }
  }
  return 1;
}

static void answersOfTheSample(void) {
  static const char modulesKey[] = "Tessaline modules";
  static const char expanded[] = "Help\\@@\\roadhelp.chm";
  int32_t exists = 0;
  uint32_t id = 0;
  showNumber("QVRConnect", TsEnC_QVRConnect);
  showText("RegistryKey", TsEnC_GetRegistryKey(take, &answer));
  showText("KernelServices", TsEnC_GetRegKeyKernelServices(take, &answer));
  showText("BuildRegKey", TsEnC_BuildRegKey(modulesKey, lengthOf(modulesKey), take, &answer));
  showText("CurrentConfig", TsEnC_GetCurrentConfig(take, &answer));
  showText("LanguageCode", TsEnC_GetLanguageCode(take, &answer));
  check(TsEnC_GetLanguageCodeID(&id) == TSENC_OK, "LanguageCodeID");
  say("LanguageCodeID=");
  sayNumber((int32_t)id);
  say("\n");
  showText("LanguageName", TsEnC_GetLanguageName(take, &answer));
  showText("LanguageCountry", TsEnC_GetLanguageCountry(take, &answer));
  showText("AppPath", TsEnC_GetAppPath(take, &answer));
  showText("ResourceName", TsEnC_GetResourceName("Road", 4, take, &answer));
  check(TsEnC_FileExist(answer.data, answer.length, 1, &exists) == TSENC_OK && exists == 1,
        "the resource library exists");
  showText("BuildFilename", TsEnC_BuildFilename(expanded, lengthOf(expanded), TSENC_BASE_APP_PATH,
                                                TSENC_LANG_AT_MARKER, take, &answer));
  showText("Version", TsEnC_GetCurrentVersionNumber(take, &answer));
  showNumber("Major", TsEnC_GetCurrentVersionNumberMajor);
  showNumber("Minor", TsEnC_GetCurrentVersionNumberMinor);
  showNumber("FeaturePack", TsEnC_GetCurrentVersionNumberFeaturePack);
  showNumber("Update", TsEnC_GetCurrentVersionNumberUpdate);
  showText("ActiveDomain", TsEnC_GetActiveTessalineDomain(take, &answer));
  showText("LastCommand", TsEnC_GetLastTessalineCommand(take, &answer));
  showText("TokenUserData", TsEnC_GetConstant(TSENC_TOKEN_USER_DATA, take, &answer));
  showText("FolderBaseKernel", TsEnC_GetConstant(TSENC_FOLDER_BASE_KERNEL, take, &answer));
}

/* The user's folders depend on the user: they must be there, not fixed. */
static void folders(void) {
  check(TsEnC_GetUserDataPath(take, &answer) == TSENC_OK && answer.length > 0, "UserDataPath");
  check(TsEnC_GetMyTessalinePath(take, &answer) == TSENC_OK && answer.length > 0,
        "MyTessalinePath");
  check(TsEnC_GetTempPath(take, &answer) == TSENC_OK && answer.length > 0, "TempPath");
  check(TsEnC_GetTempPathAppDataStyle(take, &answer) == TSENC_OK && answer.length > 0,
        "TempPathAppDataStyle");
  check(TsEnC_GetQuarzelSharedPath(take, &answer) == TSENC_OK && answer.length > 0,
        "QuarzelSharedPath");
  check(TsEnC_GetTessalineSharedPath(take, &answer) == TSENC_OK && answer.length > 0,
        "TessalineSharedPath");
}

/* A name far past any fixed buffer comes back whole, behind the folder. */
static void longTexts(void) {
  uint32_t i;
  uint32_t folder;
  check(TsEnC_GetAppPath(take, &answer) == TSENC_OK, "AppPath for the long name");
  folder = answer.length;
  for (i = 0; i < LONG_TEXT; ++i) {
    nameStore[i] = (char)('a' + i % 26);
  }
  check(TsEnC_BuildFilename(nameStore, LONG_TEXT, TSENC_BASE_APP_PATH, 0, take, &longAnswer) ==
                TSENC_OK &&
            longAnswer.length == folder + 1 + LONG_TEXT &&
            sameText(longAnswer.data + folder + 1, LONG_TEXT, nameStore, LONG_TEXT) &&
            sameText(longAnswer.data, folder, answer.data, folder),
        "a long name expands whole");
  check(TsEnC_BuildFilename(nameStore, LONG_TEXT, TSENC_BASE_APP_PATH, 0, take, &answer) ==
            TSENC_REFUSED,
        "a sink too small refuses");
  check(TsEnC_GetAppPath(refuse, NULL) == TSENC_REFUSED, "a refusing sink");
  check(TsEnC_GetAppPath(NULL, NULL) == TSENC_BAD_ARGUMENT, "no sink");
  check(TsEnC_GetConstant(TSENC_CONSTANT_COUNT, take, &answer) == TSENC_BAD_ARGUMENT,
        "no such constant");
}

static void registryHandles(void) {
  static const char modules[] = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Tessaline modules";
  static const char scratch[] = "SOFTWARE\\Quarzel\\Tessaline\\CInterfaceScratch";
  TsEnC_Registry* first = NULL;
  TsEnC_Registry* copy = NULL;
  int32_t ok = 0;
  int32_t number = 7;
  check(TsEnC_RegistryNew(&first) == TSENC_OK && TsEnC_RegistryCopy(first, &copy) == TSENC_OK,
        "new handle and copy");
  check(TsEnC_RegistryOpenKey(first, TSENC_HKEY_CURRENT_USER, modules, lengthOf(modules), 0, &ok) ==
                TSENC_OK &&
            ok == 1,
        "open through the first handle");
  check(TsEnC_RegistryRelease(first) == TSENC_OK, "release the first handle");
  check(TsEnC_RegistryReadString(copy, "ActiveDomainKey", 15, take, &answer, &ok) == TSENC_OK &&
            ok == 1 && sameText(answer.data, answer.length, "ROAD", 4),
        "the copy reads the key opened through the released first");
  check(TsEnC_RegistryReadLong(copy, "Missing", 7, &number, &ok) == TSENC_OK && ok == 0 &&
            number == 7,
        "a missing value leaves the number");
  check(TsEnC_RegistryCreate(copy, TSENC_HKEY_CURRENT_USER, scratch, lengthOf(scratch), &ok) ==
                TSENC_OK &&
            ok == 1,
        "create a key");
  check(TsEnC_RegistryWriteLong(copy, "Number", 6, -5, &ok) == TSENC_OK && ok == 1 &&
            TsEnC_RegistryReadLong(copy, "Number", 6, &number, &ok) == TSENC_OK && ok == 1 &&
            number == -5,
        "a number written and read");
  check(TsEnC_RegistryWriteString(copy, "Long", 4, nameStore, LONG_TEXT, &ok) == TSENC_OK &&
            ok == 1 &&
            TsEnC_RegistryReadString(copy, "Long", 4, take, &longAnswer, &ok) == TSENC_OK &&
            ok == 1 && sameText(longAnswer.data, longAnswer.length, nameStore, LONG_TEXT),
        "a long text written and read");
  check(TsEnC_RegistryRelease(copy) == TSENC_OK && TsEnC_RegistryRelease(NULL) == TSENC_OK,
        "release the copy");
}

/* The sample's own values are stored again, so the answers stay the sample's. */
static void sessionAndHelp(void) {
  int32_t stored = 0;
  check(TsEnC_SetActiveTessalineDomain("ROAD", 4, &stored) == TSENC_OK && stored == 1,
        "SetActiveTessalineDomain");
  check(TsEnC_SetLastTessalineCommand("RoadAlign", 9, &stored) == TSENC_OK && stored == 1,
        "SetLastTessalineCommand");
  check(TsEnC_SetLastTessalineCommandInDomain("RoadAlign", 9, "ROAD", 4, &stored) == TSENC_OK &&
            stored == 1,
        "SetLastTessalineCommandInDomain");
  check(TsEnC_SetActiveTessalineDomain("", 0, &stored) == TSENC_OK && stored == 0,
        "an empty domain is refused");
  check(TsEnC_LogCommandInfo("RoadAlign", 9, "*", 1, "from C", 6) == TSENC_OK, "LogCommandInfo");
  /* Each opens the address of its page (recorded by the test), none shows a box. */
  check(TsEnC_WikiHelpOnly(101) == TSENC_OK, "WikiHelpOnly");
  check(TsEnC_WikiHelp(100) == TSENC_OK, "WikiHelp");
  check(TsEnC_Help(1, "generalhelp", 11) == TSENC_OK, "Help");
}

static int run(void) {
  answersOfTheSample();
  folders();
  longTexts();
  registryHandles();
  sessionAndHelp();
  say("checks: ");
  sayNumber(checks - failures);
  say(" passed, ");
  sayNumber(failures);
  say(" failed\n");
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
