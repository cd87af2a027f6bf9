// The C interface answers what the direct interface answers, with the same
// registry traffic, message boxes, launches, help calls and log lines, and
// keeps its own promises: arguments checked first, texts whole, handles shared.
#include "FakeSystemTest.h"
#include "TsEnvironmentC.h"

#include <functional>
#include <regex>
#include <sstream>

namespace tsen::testing {
namespace {

int32_t keep(void* context, const char* text, uint32_t length) {
  static_cast<std::string*>(context)->assign(text, length);
  return text[length] == '\0' ? 0 : 1; // every text arrives zero-terminated
}
int32_t refuse(void*, const char*, uint32_t) {
  return 1;
}

// Calls a C function that hands out a text or a number; fails the test unless
// it succeeds.
template <class Function, class... Arguments>
std::string viaC(Function function, Arguments... arguments) {
  if constexpr (std::is_invocable_v<Function, Arguments..., uint32_t*>) {
    uint32_t number = 7;
    EXPECT_EQ(function(arguments..., &number), TSENC_OK);
    return std::to_string(number);
  } else if constexpr (std::is_invocable_v<Function, Arguments..., int32_t*>) {
    int32_t number = 7;
    EXPECT_EQ(function(arguments..., &number), TSENC_OK);
    return std::to_string(number);
  } else {
    std::string text;
    EXPECT_EQ(function(arguments..., &keep, &text), TSENC_OK);
    return text;
  }
}

using Call = std::function<std::string()>;
std::string answer(const std::string& text) {
  return text;
}
std::string answer(auto number) {
  return std::to_string(number);
}
// A function of no arguments and its C function.
template <auto direct, auto overC> std::pair<Call, Call> same() {
  return {[] { return answer(direct()); }, [] { return viaC(overC); }};
}
// A direct function that answers nothing answers as its C function does.
template <class Direct> Call quiet(Direct direct) {
  return [direct] { return direct(), std::to_string(TSENC_OK); };
}

class CInterfaceTest : public FakeSystemTest {
protected:
  void SetUp() override {
    setUpSuite();
    suite_.write("Base/About/1_Tessaline_Version.txt", "Tessaline 19.01.FP2B IR\n");
    suite_.write("Resources/Road.RC.NOR.DLL", "MZ");
    suite_.write("Help/WikiCfg/general.cfg", "7;general:start;;generalhelp;\n");
    std::filesystem::create_directories(log_.parent_path());
  }
  void setUpSuite() const {
    fake::reset();
    installLibraryIn(suite_.library());
    setLayout19(true);
    fake::setString(kHKCU, kKernel1901, "Current Config", "Road");
    fake::setString(kHKCU, kKernel1901, "Language", "NOR");
    fake::setKnownFolder(fake::KnownFolder::roamingAppData, suite_.library("roaming"));
    fake::setKnownFolder(fake::KnownFolder::commonFiles, suite_.library("common"));
    fake::setTempFolder(suite_.library("temp") + "\\");
  }
  // What a call answers, asks of the system, shows the user and logs, from
  // the same settings every time.
  std::string trace(const Call& call) const {
    setUpSuite();
    std::filesystem::remove(log_);
    std::ostringstream out;
    out << call();
    const fake::CallCounts c = fake::calls();
    for (int count :
         {c.regOpenKey, c.regCreateKey, c.regQueryValue, c.regSetValue, c.regCloseKey,
          c.moduleFileName, c.knownFolder, c.tempFolder, c.messageBox, c.shellOpen, c.htmlHelp}) {
      out << ',' << count;
    }
    for (const auto& box : fake::messageBoxes()) {
      out << '|' << box.caption << ':' << box.text << ':' << box.style;
    }
    for (const auto& open : fake::shellOpens()) {
      out << '|' << open;
    }
    for (const auto& help : fake::helpCalls()) {
      out << '|' << help.file << ':' << help.command << ':' << help.data;
    }
    std::ifstream log(log_, std::ios::binary);
    const std::string logged{std::istreambuf_iterator<char>(log), {}};
    return out.str() + "|" +
           std::regex_replace(logged, std::regex(R"(\d{4}\.\d\d\.\d\d, [\d:]{8})"), "T");
  }
  ScratchFolder suite_;
  std::filesystem::path log_ =
      suite_.path() / "roaming/Quarzel/Tessaline/19.01/RA_Zora/Road/TessalineCommand.log";
};

TEST_F(CInterfaceTest, EveryFunctionAnswersAndActsAsItsDirectExport) {
  const std::string longName = "<APPATH>\\" + std::string(100000, 'x') + "\\@@.txt";
  const std::string zeroInside("Sub\0Key", 7);
  const std::pair<Call, Call> rows[] = {
      same<TsEnQVRConnect, TsEnC_QVRConnect>(),
      same<TsEnGetRegistryKey, TsEnC_GetRegistryKey>(),
      same<TsEnGetRegKeyKernelServices, TsEnC_GetRegKeyKernelServices>(),
      same<TsEnGetCurrentConfig, TsEnC_GetCurrentConfig>(),
      same<TsEnGetLanguageCode, TsEnC_GetLanguageCode>(),
      same<TsEnGetLanguageCodeID, TsEnC_GetLanguageCodeID>(),
      same<TsEnGetLanguageName, TsEnC_GetLanguageName>(),
      same<TsEnGetLanguageCountry, TsEnC_GetLanguageCountry>(),
      same<TsEnGetAppPath, TsEnC_GetAppPath>(),
      same<TsEnGetUserDataPath, TsEnC_GetUserDataPath>(),
      same<TsEnGetMyTessalinePath, TsEnC_GetMyTessalinePath>(),
      same<TsEnGetTempPath, TsEnC_GetTempPath>(),
      same<TsEnGetTempPathAppDataStyle, TsEnC_GetTempPathAppDataStyle>(),
      same<TsEnGetQuarzelSharedPath, TsEnC_GetQuarzelSharedPath>(),
      same<TsEnGetTessalineSharedPath, TsEnC_GetTessalineSharedPath>(),
      same<TsEnGetCurrentVersionNumber, TsEnC_GetCurrentVersionNumber>(),
      same<TsEnGetCurrentVersionNumberMajor, TsEnC_GetCurrentVersionNumberMajor>(),
      same<TsEnGetCurrentVersionNumberMinor, TsEnC_GetCurrentVersionNumberMinor>(),
      same<TsEnGetCurrentVersionNumberFeaturePack, TsEnC_GetCurrentVersionNumberFeaturePack>(),
      same<TsEnGetCurrentVersionNumberUpdate, TsEnC_GetCurrentVersionNumberUpdate>(),
      same<getActiveTessalineDomain, TsEnC_GetActiveTessalineDomain>(),
      same<getLastTessalineCommand, TsEnC_GetLastTessalineCommand>(),
      {[&] { return TsEnBuildRegKey(zeroInside); },
       [&] { return viaC(TsEnC_BuildRegKey, zeroInside.data(), 7u); }},
      {[] { return std::to_string(TsEnFileExist("C:\\none", true)); },
       [] { return viaC(TsEnC_FileExist, "C:\\none", 7u, 1); }},
      {[] { return TsEnGetResourceName("Road"); },
       [] { return viaC(TsEnC_GetResourceName, "Road", 4u); }},
      // A text past any fixed buffer; a missing configuration told.
      {[&] { return TsEnBuildFilename(longName, TsEnBaseNone, TsEnLangAtMarker); },
       [&] {
         return viaC(TsEnC_BuildFilename, longName.data(), uint32_t(longName.size()),
                     TSENC_BASE_NONE, TSENC_LANG_AT_MARKER);
       }},
      {[] { return TsEnBuildFilename("<DEFAULTCONFIG>", TsEnBaseUserData, 0); },
       [] { return viaC(TsEnC_BuildFilename, "<DEFAULTCONFIG>", 15u, TSENC_BASE_USER_DATA, 0); }},
      {quiet([] { TsEnHelp(7, "generalhelp"); }),
       [] { return std::to_string(TsEnC_Help(7, "generalhelp", 11)); }},
      {quiet([] { TsEnWikiHelp(7); }), [] { return std::to_string(TsEnC_WikiHelp(7)); }},
      {quiet([] { TsEnWikiHelpOnly(8); }), [] { return std::to_string(TsEnC_WikiHelpOnly(8)); }},
      {[] { return std::to_string(setActiveTessalineDomain("ROAD")); },
       [] { return viaC(TsEnC_SetActiveTessalineDomain, "ROAD", 4u); }},
      {[] { return std::to_string(setLastTessalineCommand("Align")); },
       [] { return viaC(TsEnC_SetLastTessalineCommand, "Align", 5u); }},
      {[] { return std::to_string(setLastTessalineCommand("Align", "")); },
       [] { return viaC(TsEnC_SetLastTessalineCommandInDomain, "Align", 5u, "", 0u); }},
      {quiet([] { LogCommandInfo("Cmd", "*", "info"); }),
       [] { return std::to_string(TsEnC_LogCommandInfo("Cmd", 3, "*", 1, "info", 4)); }},
  };
  // The kept answers are found once, before the comparison.
  TsEnGetAppPath();
  TsEnGetLanguageCode();
  TsEnGetMyTessalinePath();
  for (std::size_t row = 0; row < std::size(rows); ++row) {
    EXPECT_EQ(trace(rows[row].second), trace(rows[row].first)) << "row " << row;
  }
}

TEST_F(CInterfaceTest, BadArgumentsAndRefusedTextsAreAnsweredBeforeAnythingHappens) {
  int32_t answer = 5;
  fake::resetCalls();
  EXPECT_EQ(TsEnC_GetCurrentConfig(nullptr, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_BuildRegKey(nullptr, 1, &keep, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_FileExist("x", 1, 1, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_LogCommandInfo("C", 1, "*", 1, nullptr, 2), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_GetConstant(TSENC_CONSTANT_COUNT, &keep, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_GetConstant(-1, &keep, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_RegistryReadLong(nullptr, "v", 1, &answer, &answer), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(answer, 5);
  EXPECT_EQ(fake::calls().regOpenKey + fake::calls().messageBox, 0);
  // A null text of no bytes is the empty text.
  EXPECT_EQ(viaC(TsEnC_BuildRegKey, nullptr, 0u), TsEnBuildRegKey(""));
  // The sink that cannot take a text turns into a result.
  EXPECT_EQ(TsEnC_GetAppPath(&refuse, nullptr), TSENC_REFUSED);
}

// Each number names its constant, whatever the order of the library's table.
TEST_F(CInterfaceTest, ConstantsByNumber) {
  const std::pair<int32_t, const std::string*> constants[] = {
      {TSENC_TOKEN_APP_PATH, &TsEnTokenAppPath},
      {TSENC_TOKEN_AUTOCAD, &TsEnTokenAutoCAD},
      {TSENC_TOKEN_BINARIES, &TsEnTokenBinaries},
      {TSENC_TOKEN_CURRENT_CONFIG, &TsEnTokenCurrentConfig},
      {TSENC_TOKEN_DEFAULT_CONFIG, &TsEnTokenDefaultConfig},
      {TSENC_TOKEN_LANG_CODE, &TsEnTokenLangCode},
      {TSENC_TOKEN_LANG_COUNTRY, &TsEnTokenLangCountry},
      {TSENC_TOKEN_LANG_NAME, &TsEnTokenLangName},
      {TSENC_TOKEN_MY_TESSALINE, &TsEnTokenMyTessaline},
      {TSENC_TOKEN_TESSALINE_SHARED, &TsEnTokenTessalineShared},
      {TSENC_TOKEN_RESOURCES, &TsEnTokenResources},
      {TSENC_TOKEN_TEMP, &TsEnTokenTemp},
      {TSENC_TOKEN_USER_DATA, &TsEnTokenUserData},
      {TSENC_TOKEN_QUARZEL_SHARED, &TsEnTokenQuarzelShared},
      {TSENC_REG_KEY_QVR_CONNECT, &TsEnRegKeyQVRConnect},
      {TSENC_REG_VALUE_QVR_CONNECT, &TsEnRegValueQVRConnect},
      {TSENC_REG_VALUE_CURRENT_CONFIG, &TsEnRegValueCurrentConfig},
      {TSENC_REG_VALUE_LANGUAGE, &TsEnRegValueLanguage},
      {TSENC_REG_KEY_MODULES, &TsEnRegKeyModules},
      {TSENC_REG_VALUE_ACTIVE_DOMAIN, &TsEnRegValueActiveDomain},
      {TSENC_REG_VALUE_LAST_COMMAND, &TsEnRegValueLastCommand},
      {TSENC_REG_VALUE_LOG_COMMANDS, &TsEnRegValueLogCommands},
      {TSENC_FOLDER_AUTOCAD, &TsEnFolderAutoCAD},
      {TSENC_REG_VALUE_AUTOCAD_KEY, &TsEnRegValueAutoCADKey},
      {TSENC_FOLDER_BINARIES, &TsEnFolderBinaries},
      {TSENC_FOLDER_HELP, &TsEnFolderHelp},
      {TSENC_FOLDER_PROFILE, &TsEnFolderProfile},
      {TSENC_FOLDER_BASE_KERNEL, &TsEnFolderBaseKernel}};
  ASSERT_EQ(std::size(constants), std::size_t(TSENC_CONSTANT_COUNT));
  for (const auto& [number, constant] : constants) {
    EXPECT_EQ(viaC(TsEnC_GetConstant, number), *constant) << number;
  }
  EXPECT_EQ(TsEnTokenAppPath + TsEnFolderBaseKernel, "<APPATH>Kernel");
}

// Copies share one key, closed by the last release; a failed read leaves the
// outputs alone and never calls the sink; a text is written up to its zero.
TEST_F(CInterfaceTest, HandleCopiesShareOneKeyClosedByTheLastRelease) {
  fake::setString(kHKCU, "SOFTWARE\\Test", "Text", "abc");
  TsEnC_Registry* first = nullptr;
  TsEnC_Registry* copy = nullptr;
  int32_t ok = -1, number = 9;
  ASSERT_EQ(TsEnC_RegistryNew(&first) + TsEnC_RegistryCopy(first, &copy), TSENC_OK);
  ASSERT_EQ(TsEnC_RegistryOpenKey(first, TSENC_HKEY_CURRENT_USER, "SOFTWARE\\Test", 13, 0, &ok),
            TSENC_OK);
  ASSERT_EQ(TsEnC_RegistryRelease(first), TSENC_OK);
  EXPECT_EQ(fake::openHandles(), 1); // the copy still holds the key
  EXPECT_EQ(TsEnC_RegistryReadLong(copy, "Missing", 7, &number, &ok), TSENC_OK);
  EXPECT_EQ(number + ok * 100, 9); // untouched, and false
  std::string text = "before";
  EXPECT_EQ(TsEnC_RegistryReadString(copy, "Missing", 7, &refuse, &text, &ok), TSENC_OK);
  EXPECT_EQ(TsEnC_RegistryReadString(copy, "Text", 4, &keep, &text, &ok), TSENC_OK);
  EXPECT_EQ(text + std::to_string(ok), "abc1");
  EXPECT_EQ(TsEnC_RegistryWriteString(copy, "New", 3, "x\0y", 3, &ok), TSENC_OK);
  EXPECT_EQ(fake::stringValue(kHKCU, "SOFTWARE\\Test", "New"), "x");
  ASSERT_EQ(TsEnC_RegistryRelease(copy) + TsEnC_RegistryRelease(nullptr), TSENC_OK);
  EXPECT_EQ(fake::openHandles(), 0);
}

} // namespace
} // namespace tsen::testing
