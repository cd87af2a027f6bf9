/* A module written in C: calls each function of the C interface against the
 * installed sample and prints "name=answer" for each, or the result of a call
 * that failed. It needs nothing but the library and kernel32, so the same
 * source builds with mingw-w64 gcc and, with no C runtime, for the Microsoft
 * ABI. */
#include "TsEnvironmentC.h"

#include <stddef.h>
#include <stdint.h>

__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* data, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int status);

static char line[4096]; /* the line being printed */
static uint32_t used;
static int32_t ok, number; /* what a call answers besides a text */

/* Adds a text to the line; refuses one that does not fit. */
static int32_t take(void* context, const char* text, uint32_t length) {
  (void)context;
  if (length > sizeof line - used) {
    return 1;
  }
  while (length-- > 0) {
    line[used++] = *text++;
  }
  return 0;
}

static void takeNumber(uint32_t value) {
  char digits[12];
  size_t at = sizeof digits;
  do {
    digits[--at] = (char)('0' + value % 10);
    value /= 10;
  } while (value != 0);
  take(NULL, digits + at, (uint32_t)(sizeof digits - at));
}

/* Ends the line begun before the call with the number it answered, if any,
 * or with the result of a failed call, and prints it. */
static void end(TsEnC_Result result, const int32_t* answer) {
  unsigned long written = 0;
  if (result != TSENC_OK) {
    take(NULL, "failed with ", 12);
    takeNumber((uint32_t)result);
  } else if (answer != NULL) {
    takeNumber((uint32_t)*answer);
  }
  take(NULL, "\n", 1);
  WriteFile(GetStdHandle((unsigned long)-11), line, used, &written, NULL);
  used = 0;
}

/* name is a string literal: "name=" begins the line before the call. */
#define SHOW(name, call, answer) (take(NULL, name "=", sizeof name), end(call, answer))

static void run(void) {
  static const char scratch[] = "SOFTWARE\\Quarzel\\Tessaline\\CInterfaceScratch";
  TsEnC_Registry* first = NULL;
  TsEnC_Registry* copy = NULL;
  SHOW("QVRConnect", TsEnC_QVRConnect(&number), &number);
  SHOW("RegistryKey", TsEnC_GetRegistryKey(take, NULL), NULL);
  SHOW("KernelServices", TsEnC_GetRegKeyKernelServices(take, NULL), NULL);
  SHOW("BuildRegKey", TsEnC_BuildRegKey("Tessaline modules", 17, take, NULL), NULL);
  SHOW("CurrentConfig", TsEnC_GetCurrentConfig(take, NULL), NULL);
  SHOW("LanguageCode", TsEnC_GetLanguageCode(take, NULL), NULL);
  SHOW("LanguageCodeID", TsEnC_GetLanguageCodeID((uint32_t*)&number), &number);
  SHOW("LanguageName", TsEnC_GetLanguageName(take, NULL), NULL);
  SHOW("LanguageCountry", TsEnC_GetLanguageCountry(take, NULL), NULL);
  SHOW("ResourceName", TsEnC_GetResourceName("Road", 4, take, NULL), NULL);
  SHOW("FileExist", TsEnC_FileExist("C:\\windows", 10, 0, &number), &number);
  SHOW("BuildFilename",
       TsEnC_BuildFilename("Help\\@@\\roadhelp.chm", 20, TSENC_BASE_APP_PATH, TSENC_LANG_AT_MARKER,
                           take, NULL),
       NULL);
  SHOW("Version", TsEnC_GetCurrentVersionNumber(take, NULL), NULL);
  SHOW("Major", TsEnC_GetCurrentVersionNumberMajor(&number), &number);
  SHOW("Minor", TsEnC_GetCurrentVersionNumberMinor(&number), &number);
  SHOW("FeaturePack", TsEnC_GetCurrentVersionNumberFeaturePack(&number), &number);
  SHOW("Update", TsEnC_GetCurrentVersionNumberUpdate(&number), &number);
  SHOW("TokenUserData", TsEnC_GetConstant(TSENC_TOKEN_USER_DATA, take, NULL), NULL);
  SHOW("UserDataPath", TsEnC_GetUserDataPath(take, NULL), NULL);
  SHOW("MyTessalinePath", TsEnC_GetMyTessalinePath(take, NULL), NULL);
  SHOW("TempPath", TsEnC_GetTempPath(take, NULL), NULL);
  SHOW("TempPathAppDataStyle", TsEnC_GetTempPathAppDataStyle(take, NULL), NULL);
  SHOW("QuarzelSharedPath", TsEnC_GetQuarzelSharedPath(take, NULL), NULL);
  SHOW("TessalineSharedPath", TsEnC_GetTessalineSharedPath(take, NULL), NULL);
  SHOW("AppPath", TsEnC_GetAppPath(take, NULL), NULL);

  /* The copy keeps the key made through the first handle after its release. */
  SHOW("RegistryNew", TsEnC_RegistryNew(&first), NULL);
  SHOW("RegistryCreate",
       TsEnC_RegistryCreate(first, TSENC_HKEY_CURRENT_USER, scratch, sizeof scratch - 1, &ok), &ok);
  SHOW("RegistryCopy", TsEnC_RegistryCopy(first, &copy), NULL);
  SHOW("RegistryRelease", TsEnC_RegistryRelease(first), NULL);
  SHOW("RegistryWriteLong", TsEnC_RegistryWriteLong(copy, "Number", 6, 1234, &ok), &ok);
  SHOW("RegistryReadLong", TsEnC_RegistryReadLong(copy, "Number", 6, &number, &ok), &number);
  SHOW("RegistryWriteString", TsEnC_RegistryWriteString(copy, "Text", 4, "kept", 4, &ok), &ok);
  SHOW("RegistryReadString", TsEnC_RegistryReadString(copy, "Text", 4, take, NULL, &ok), NULL);
  SHOW("RegistryOpenKey",
       TsEnC_RegistryOpenKey(copy, TSENC_HKEY_CURRENT_USER, scratch, sizeof scratch - 1, 0, &ok),
       &ok);
  SHOW("RegistryRelease", TsEnC_RegistryRelease(copy), NULL);

  /* The sample's own values are stored again, so the answers stay the
   * sample's. Each help call opens the address of its page, none shows a box. */
  SHOW("SetActiveTessalineDomain", TsEnC_SetActiveTessalineDomain("ROAD", 4, &ok), &ok);
  SHOW("SetLastTessalineCommand", TsEnC_SetLastTessalineCommand("RoadAlign", 9, &ok), &ok);
  SHOW("SetLastTessalineCommandInDomain",
       TsEnC_SetLastTessalineCommandInDomain("RoadAlign", 9, "ROAD", 4, &ok), &ok);
  SHOW("ActiveDomain", TsEnC_GetActiveTessalineDomain(take, NULL), NULL);
  SHOW("LastCommand", TsEnC_GetLastTessalineCommand(take, NULL), NULL);
  SHOW("LogCommandInfo", TsEnC_LogCommandInfo("RoadAlign", 9, "*", 1, "from C", 6), NULL);
  SHOW("WikiHelpOnly", TsEnC_WikiHelpOnly(101), NULL);
  SHOW("WikiHelp", TsEnC_WikiHelp(100), NULL);
  SHOW("Help", TsEnC_Help(1, "generalhelp", 11), NULL);
}

#if defined(TSEN_NO_RUNTIME)
void entry(void) {
  run();
  ExitProcess(0);
}
#else
int main(void) {
  run();
  return 0;
}
#endif
