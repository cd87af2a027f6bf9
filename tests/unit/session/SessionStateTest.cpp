#include "session/SessionTest.h"

#include <functional>

namespace tsen::testing {
namespace {

using SessionStateTest = SessionTest;
using Write = std::function<bool()>;

TEST_F(SessionStateTest, FirstWriteCreatesTheModulesKeyOfTheLayoutInForce) {
  const struct {
    const char* name;
    Write write;
    const char* valueName;
  } writes[] = {
      {"domain", [] { return setActiveTessalineDomain("Road"); }, "ActiveDomainKey"},
      {"command", [] { return setLastTessalineCommand("Road"); }, "LastCommand"},
      {"command with domain", [] { return setLastTessalineCommand("Cmd", "Road"); },
       "ActiveDomainKey"},
  };
  for (const bool layout19 : {false, true}) {
    for (const auto& w : writes) {
      const std::string name = std::string(w.name) + (layout19 ? " 19.01" : " 18.40");
      fake::removeKey(kHKCU, "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Tessaline modules");
      fake::removeKey(kHKCU, "SOFTWARE\\Quarzel\\Tessaline\\19.01");
      setLayout19(layout19);
      useDataFolder(layout19, "Road");
      EXPECT_EQ(getActiveTessalineDomain(), "") << name;
      EXPECT_EQ(getLastTessalineCommand(), "") << name;
      EXPECT_FALSE(fake::keyExists(kHKCU, modulesKey(layout19))) << name << ": a read created it";
      EXPECT_TRUE(w.write()) << name;
      EXPECT_EQ(stored(layout19, w.valueName), "Road") << name;
      EXPECT_FALSE(fake::keyExists(kHKCU, modulesKey(!layout19))) << name;
      EXPECT_EQ(fake::openHandles(), 0) << name;
    }
  }
}

TEST_F(SessionStateTest, RefusedWritesLeaveTheStoredValuesAndLogNothing) {
  const struct {
    const char* name;
    Write write;
    const char* domainAfter;
  } cases[] = {
      {"empty domain", [] { return setActiveTessalineDomain(""); }, "Old"},
      {"empty command", [] { return setLastTessalineCommand(""); }, "Old"},
      {"command with empty domain", [] { return setLastTessalineCommand("Cmd", ""); }, "Old"},
      // The domain is stored before the command is refused, and stays.
      {"empty command with domain", [] { return setLastTessalineCommand("", "Road"); }, "Road"},
  };
  for (const auto& c : cases) {
    fake::setString(kHKCU, kModules1840, "ActiveDomainKey", "Old");
    fake::setString(kHKCU, kModules1840, "LastCommand", "OldCmd");
    EXPECT_FALSE(c.write()) << c.name;
    EXPECT_EQ(getActiveTessalineDomain(), c.domainAfter) << c.name;
    EXPECT_EQ(getLastTessalineCommand(), "OldCmd") << c.name;
    EXPECT_FALSE(std::filesystem::exists(log_)) << c.name;
  }
}

TEST_F(SessionStateTest, StoringACommandLogsItWithTheDomainStoredAtThatMoment) {
  const struct {
    const char* name;
    Write write;
    const char* expectedDomain;
  } cases[] = {
      {"no domain stored", [] { return setLastTessalineCommand("Cmd"); }, ""},
      {"domain stored before",
       [] { return setActiveTessalineDomain("Road") && setLastTessalineCommand("Cmd"); }, "Road"},
      {"domain given", [] { return setLastTessalineCommand("Cmd", "Hill"); }, "Hill"},
  };
  for (const auto& c : cases) {
    fake::removeKey(kHKCU, kModules1840);
    std::filesystem::remove(log_);
    EXPECT_TRUE(c.write()) << c.name;
    EXPECT_EQ(getLastTessalineCommand(), "Cmd") << c.name;
    EXPECT_EQ(getActiveTessalineDomain(), c.expectedDomain) << c.name;
    const auto lines = logLines(log());
    ASSERT_EQ(lines.size(), 1u) << c.name;
    EXPECT_EQ(fieldsOf(lines[0]), (std::vector<std::string>{"Cmd", lines[0].substr(4, kStampLength),
                                                            c.expectedDomain, ""}))
        << c.name;
  }
}

TEST_F(SessionStateTest, CommandIsStoredWithLoggingSwitchedOff) {
  fake::setDword(kHKCU, kModules1840, "LogCommands", 0);
  EXPECT_TRUE(setLastTessalineCommand("Cmd", "Road"));
  EXPECT_EQ(getLastTessalineCommand(), "Cmd");
  EXPECT_FALSE(std::filesystem::exists(log_));
}

TEST_F(SessionStateTest, SwitchingTheLayoutSwitchesKeyAndLogAtTheNextCall) {
  ASSERT_TRUE(setLastTessalineCommand("Old", "Road"));
  setLayout19(true);
  const auto log19 = useDataFolder(true, "Hill");
  EXPECT_EQ(getActiveTessalineDomain(), "");
  EXPECT_EQ(getLastTessalineCommand(), "");
  ASSERT_TRUE(setLastTessalineCommand("New"));
  EXPECT_EQ(stored(true, "LastCommand"), "New");
  EXPECT_EQ(stored(false, "LastCommand"), "Old");
  EXPECT_EQ(fieldsOf(logLines(log())[0])[0], "Old");
  const auto lines19 = logLines(readBytes(log19));
  ASSERT_EQ(lines19.size(), 1u);
  EXPECT_EQ(lines19[0].substr(0, 4), "New;");
  // "*" read the 19.01 key, where no domain is stored.
  EXPECT_EQ(lines19[0].substr(4 + kStampLength), ";;");
  setLayout19(false);
  EXPECT_EQ(getActiveTessalineDomain(), "Road");
}

TEST_F(SessionStateTest, ValuesHoldAnyTextWhole) {
  fake::setDword(kHKCU, kModules1840, "LogCommands", 0);
  for (const std::string& text : {std::string("a;b;c"), std::string("line\r\nbreak"),
                                  std::string("\xC4\xD6\xDC\xE9\xFF"), std::string(100000, 'x')}) {
    const std::string domain = text + "D";
    ASSERT_TRUE(setLastTessalineCommand(text, domain));
    EXPECT_EQ(getLastTessalineCommand(), text);
    EXPECT_EQ(getActiveTessalineDomain(), domain);
  }
  EXPECT_EQ(fake::openHandles(), 0);
}

} // namespace
} // namespace tsen::testing
