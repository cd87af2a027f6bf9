// The C interface answers what the direct interface answers, with the same
// message boxes, launches, help calls and log lines, and keeps its own
// promises: arguments checked first, texts whole, handles shared.
#include "FakeSystemTest.h"
#include "TsEnvironmentC.h"

#include <functional>
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

// A C function's text or number; fails the test unless the call succeeds.
template <class Function, class... Arguments>
std::string viaC(Function function, Arguments... arguments) {
  if constexpr (std::is_invocable_v<Function, Arguments..., TsEnC_TextSink, void*>) {
    std::string text;
    EXPECT_EQ(function(arguments..., &keep, &text), TSENC_OK);
    return text;
  } else {
    int32_t number = 7;
    EXPECT_EQ(function(arguments..., &number), TSENC_OK);
    return std::to_string(number);
  }
}

using Call = std::function<std::string()>;
// A direct function that answers nothing answers as its C function does.
template <class Direct> Call quiet(Direct direct) {
  return [direct] { return direct(), std::to_string(TSENC_OK); };
}

class CInterfaceTest : public FakeSystemTest {
protected:
  void SetUp() override {
    setUpSuite();
    app.write("Help/WikiCfg/general.cfg", "7;general:start;;generalhelp;\n");
    std::filesystem::create_directories(log_.parent_path());
  }
  void setUpSuite() const {
    fake::reset();
    installLibraryIn(app.library());
    setConfig(true, "Road");
    fake::setString(kHKCU, kKernel1901, "Language", "NOR");
    fake::setKnownFolder(fake::KnownFolder::roamingAppData, app.library("roaming"));
    fake::setTempFolder(app.library("temp") + "\\");
  }
  // What a call answers, shows, opens and logs, from the same settings every time.
  std::string trace(const Call& call) const {
    setUpSuite();
    std::filesystem::remove(log_);
    std::ostringstream out;
    out << call();
    for (const auto& box : fake::messageBoxes()) {
      out << '|' << box.caption << ':' << box.text << ':' << box.style;
    }
    for (const auto& open : fake::shellOpens()) {
      out << '|' << open;
    }
    for (const auto& help : fake::helpCalls()) {
      out << '|' << help.file << ':' << help.command << ':' << help.data;
    }
    return out.str() + "|" + logStampsAsT(log_);
  }
  std::filesystem::path log_ =
      app.path() / "roaming/Quarzel/Tessaline/19.01/RA_Zora/Road/TessalineCommand.log";
};

// One function of each kind the C interface writes out.
TEST_F(CInterfaceTest, EachKindOfFunctionAnswersAndActsAsItsDirectExport) {
  // A text past any fixed buffer and holding a zero, and a missing configuration told.
  const std::string longName =
      "<DEFAULTCONFIG>\\" + std::string(100000, 'x') + std::string("\\@@\0.txt", 8);
  const std::pair<Call, Call> rows[] = {
      {[] { return std::to_string(TsEnQVRConnect()); }, [] { return viaC(TsEnC_QVRConnect); }},
      {[] { return TsEnGetAppPath(); }, [] { return viaC(TsEnC_GetAppPath); }},
      {[] { return TsEnGetTempPath(); }, [] { return viaC(TsEnC_GetTempPath); }},
      {[] { return std::to_string(TsEnFileExist("C:\\none", true)); },
       [] { return viaC(TsEnC_FileExist, "C:\\none", 7u, 1); }},
      {[&] { return TsEnBuildFilename(longName, TsEnBaseUserData, TsEnLangAtMarker); },
       [&] {
         return viaC(TsEnC_BuildFilename, longName.data(), uint32_t(longName.size()),
                     TSENC_BASE_USER_DATA, TSENC_LANG_AT_MARKER);
       }},
      {quiet([] { TsEnHelp(7, "generalhelp"); }),
       [] { return std::to_string(TsEnC_Help(7, "generalhelp", 11)); }},
      {[] { return std::to_string(setLastTessalineCommand("Align", "")); },
       [] { return viaC(TsEnC_SetLastTessalineCommandInDomain, "Align", 5u, "", 0u); }},
      {quiet([] { LogCommandInfo("Cmd", "*", "info"); }),
       [] { return std::to_string(TsEnC_LogCommandInfo("Cmd", 3, "*", 1, "info", 4)); }},
  };
  for (std::size_t row = 0; row < std::size(rows); ++row) {
    EXPECT_EQ(trace(rows[row].second), trace(rows[row].first)) << "row " << row;
  }
}

TEST_F(CInterfaceTest, BadArgumentsAndRefusedTextsAreAnsweredBeforeAnythingHappens) {
  int32_t answer = 5;
  EXPECT_EQ(TsEnC_GetCurrentConfig(nullptr, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_BuildRegKey(nullptr, 1, &keep, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_FileExist("x", 1, 1, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_LogCommandInfo("C", 1, "*", 1, nullptr, 2), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_GetConstant(TSENC_CONSTANT_COUNT, &keep, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_GetConstant(-1, &keep, nullptr), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(TsEnC_RegistryReadLong(nullptr, "v", 1, &answer, &answer), TSENC_BAD_ARGUMENT);
  EXPECT_EQ(answer, 5);
  EXPECT_TRUE(fake::messageBoxes().empty());
  // A null text of no bytes is the empty text.
  EXPECT_EQ(viaC(TsEnC_BuildRegKey, nullptr, 0u), TsEnBuildRegKey(""));
  // The sink that cannot take a text turns into a result.
  EXPECT_EQ(TsEnC_GetAppPath(&refuse, nullptr), TSENC_REFUSED);
}

// Copies share one key, closed by the last release; a failed read touches no output.
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
  ASSERT_EQ(TsEnC_RegistryRelease(copy) + TsEnC_RegistryRelease(nullptr), TSENC_OK);
  EXPECT_EQ(fake::openHandles(), 0);
}

} // namespace
} // namespace tsen::testing
