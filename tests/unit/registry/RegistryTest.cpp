// The registry accessor and the product keys of the two layouts.
#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

namespace tsen::testing {
namespace {

constexpr std::string_view kKey = "Software\\TsEnTests\\Accessor";
constexpr const char* kRoot1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40";
constexpr const char* kRoot1901 = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora";

fake::RegistryValue bytes(std::uint32_t type, std::string_view data) {
  return {type, std::vector<unsigned char>(data.begin(), data.end())};
}

using RegistryTest = FakeSystemTest;

TEST_F(RegistryTest, AccessorWithoutKeyFailsAndLeavesOutputsAlone) {
  TsEnWinRegistry registry;
  // An empty name on an empty accessor succeeds and still holds no key.
  EXPECT_TRUE(registry.Create(kHKCU, ""));
  TsEnLong number = 7;
  std::string text = "untouched";
  EXPECT_FALSE(registry.ReadLong("x", number));
  EXPECT_FALSE(registry.ReadString("x", text));
  EXPECT_FALSE(registry.WriteLong("x", 1));
  EXPECT_FALSE(registry.WriteString("x", "y"));
  EXPECT_EQ(number, 7);
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(fake::calls().regCreateKey, 0);
}

TEST_F(RegistryTest, OpenKeyCreatesOnlyWhenAskedAndCreateOfTheHeldNameTouchesNothing) {
  TsEnWinRegistry registry;
  EXPECT_FALSE(registry.OpenKey(kHKCU, std::string(kKey), false));
  EXPECT_FALSE(fake::keyExists(kHKCU, "Software\\TsEnTests"));
  ASSERT_TRUE(registry.OpenKey(kHKCU, std::string(kKey), true));
  ASSERT_TRUE(registry.WriteString("Name", "Road"));
  EXPECT_EQ(fake::stringValue(kHKCU, kKey, "name"), "Road");
  // Held as opened, not as created: Create of the same name really creates.
  fake::resetCalls();
  EXPECT_TRUE(registry.Create(kHKCU, std::string(kKey)));
  EXPECT_EQ(fake::calls().regCreateKey, 1);
  // Now held as created: under any root only the name counts.
  fake::resetCalls();
  EXPECT_TRUE(registry.Create(kHKLM, std::string(kKey)));
  const fake::CallCounts calls = fake::calls();
  EXPECT_EQ(calls.regCreateKey + calls.regOpenKey + calls.regCloseKey, 0);
  EXPECT_FALSE(fake::keyExists(kHKLM, kKey));
  EXPECT_TRUE(registry.Create(kHKCU, "software\\TsEnTests\\Accessor"));
  EXPECT_EQ(fake::calls().regCreateKey, 1) << "another spelling is another name";
}

TEST_F(RegistryTest, ReadsTakeTextUpToTheFirstZeroAndNumbersOfAtMostFourBytes) {
  const struct {
    const char* name;
    fake::RegistryValue value;
    const char* text;
    std::optional<TsEnLong> number; // nothing: ReadLong fails
  } cases[] = {
      {"terminated", bytes(platform::kRegSz, std::string_view("Road\0", 5)), "Road", {}},
      {"expandable", bytes(platform::kRegExpandSz, std::string_view("%T%\0", 4)), "%T%",
       0x00255425},
      {"unterminated", bytes(platform::kRegSz, "1"), "1", 0x7F000031},
      {"empty", bytes(platform::kRegSz, ""), "", 0x7F000000},
      {"multi", bytes(platform::kRegMultiSz, std::string_view("a\0b\0\0", 5)), "a", {}},
      {"dword", bytes(platform::kRegDword, "\x78\x56\x34\x12"), "\x78\x56\x34\x12", 0x12345678},
      {"qword",
       bytes(platform::kRegQword, std::string(8, '\x01')),
       "\x01\x01\x01\x01\x01\x01\x01\x01",
       {}},
  };
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kHKCU, std::string(kKey), true));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::setValue(kHKCU, kKey, c.name, c.value);
    std::string text = "before";
    EXPECT_TRUE(registry.ReadString(c.name, text));
    EXPECT_EQ(text, c.text);
    TsEnLong number = 0x7F000000; // bytes not read stay
    EXPECT_EQ(registry.ReadLong(c.name, number), c.number.has_value());
    EXPECT_EQ(number, c.number.value_or(0x7F000000));
  }
  std::string text = "before";
  TsEnLong number = 5;
  EXPECT_FALSE(registry.ReadString("missing", text));
  EXPECT_FALSE(registry.ReadLong("missing", number));
  EXPECT_EQ(text + std::to_string(number), "before5");
}

TEST_F(RegistryTest, WritesStoreTypeAndExactBytes) {
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kHKCU, std::string(kKey), true));
  ASSERT_TRUE(registry.WriteString("empty", ""));
  ASSERT_TRUE(registry.WriteLong("number", -2));
  const std::string large(1 << 20, 'x');
  ASSERT_TRUE(registry.WriteString("large\\with\\backslashes", large));
  EXPECT_EQ(fake::value(kHKCU, kKey, "empty")->type, platform::kRegSz);
  EXPECT_EQ(fake::value(kHKCU, kKey, "empty")->data, std::vector<unsigned char>{0});
  EXPECT_EQ(fake::value(kHKCU, kKey, "number")->type, platform::kRegDword);
  EXPECT_EQ(fake::value(kHKCU, kKey, "number")->data,
            (std::vector<unsigned char>{0xFE, 0xFF, 0xFF, 0xFF}));
  std::string back;
  EXPECT_TRUE(registry.ReadString("LARGE\\WITH\\BACKSLASHES", back));
  EXPECT_EQ(back, large);
}

TEST_F(RegistryTest, CopiesShareOneKeyClosedOnceAfterTheLastCopy) {
  fake::createKey(kHKCU, "Software\\A");
  fake::createKey(kHKCU, "Software\\B");
  {
    auto original = std::make_unique<TsEnWinRegistry>();
    TsEnWinRegistry copy(*original);
    ASSERT_TRUE(copy.OpenKey(kHKCU, "Software\\A", false));
    EXPECT_TRUE(original->WriteString("v", "through original"));
    EXPECT_EQ(fake::stringValue(kHKCU, "Software\\A", "v"), "through original");

    TsEnWinRegistry assigned;
    ASSERT_TRUE(assigned.OpenKey(kHKCU, "Software\\B", false));
    assigned = *original;
    EXPECT_EQ(fake::openHandles(), 1) << "the key held before the assignment is closed";
    assigned = assigned; // self-assignment keeps the state
    ASSERT_TRUE(original->OpenKey(kHKCU, "Software\\B", false));
    original.reset();
    EXPECT_TRUE(assigned.WriteString("v", "through assigned"));
    EXPECT_EQ(fake::stringValue(kHKCU, "Software\\B", "v"), "through assigned");
    fake::resetCalls();
  }
  EXPECT_EQ(fake::openHandles(), 0);
  EXPECT_EQ(fake::calls().regCloseKey, 1);
}

TEST_F(RegistryTest, FailedOpenAndBadPathsLeaveNoKey) {
  fake::createKey(kHKCU, "Software\\A");
  TsEnWinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kHKCU, "Software\\A", false));
  EXPECT_FALSE(registry.OpenKey(kHKCU, "Software\\Missing", false));
  EXPECT_FALSE(registry.WriteString("v", "x"));
  EXPECT_EQ(fake::openHandles(), 0);
  EXPECT_FALSE(registry.OpenKey(kHKCU, "\\Leading", true));
  EXPECT_FALSE(registry.OpenKey(kHKCU, "Double\\\\Backslash", true));
  // An empty path names the root itself.
  EXPECT_TRUE(registry.OpenKey(kHKCU, "", false));
  EXPECT_TRUE(registry.WriteString("root value", "x"));
  EXPECT_EQ(fake::stringValue(kHKCU, "", "root value"), "x");
}

TEST_F(RegistryTest, ConnectionFlagChoosesTheLayout) {
  const auto flag = [](HKEY root, fake::RegistryValue value) {
    return [root, value] { fake::setValue(root, kQvrKey, "QVRConnect", value); };
  };
  const struct {
    const char* name;
    std::function<void()> store;
    bool layout19;
  } cases[] = {
      {"no key", [] {}, false},
      {"key without value", [] { fake::createKey(kHKCU, kQvrKey); }, false},
      {"zero", flag(kHKCU, bytes(platform::kRegDword, std::string(4, '\0'))), false},
      {"two", flag(kHKCU, bytes(platform::kRegDword, std::string("\x02\0\0\0", 4))), false},
      {"one", [] { fake::setDword(kHKCU, kQvrKey, "qvrconnect", 1); }, true},
      {"text one", flag(kHKCU, bytes(platform::kRegSz, std::string("1\0", 2))), false},
      {"one in eight bytes",
       flag(kHKCU, bytes(platform::kRegQword, std::string("\1\0\0\0\0\0\0\0", 8))), false},
      {"one in one byte", flag(kHKCU, bytes(platform::kRegBinary, "\1")), true},
      {"machine only", flag(kHKLM, bytes(platform::kRegDword, std::string("\1\0\0\0", 4))), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fake::reset();
    c.store();
    const std::string root = c.layout19 ? kRoot1901 : kRoot1840;
    EXPECT_EQ(TsEnQVRConnect(), c.layout19);
    EXPECT_EQ(TsEnGetRegistryKey(), root);
    EXPECT_EQ(TsEnGetRegKeyKernelServices(), root + "\\Kernel Services");
    EXPECT_EQ(TsEnBuildRegKey("\\x\\"), root + "\\\\x\\");
    EXPECT_EQ(TsEnBuildRegKey(""), root + "\\");
    EXPECT_EQ(fake::openHandles(), 0);
  }
}

TEST_F(RegistryTest, CurrentConfigIsReadFromTheLayoutInForce) {
  EXPECT_EQ(TsEnGetCurrentConfig(), "") << "no Kernel Services key";
  fake::createKey(kHKCU, kKernel1840);
  EXPECT_EQ(TsEnGetCurrentConfig(), "") << "no value";
  fake::setString(kHKCU, kKernel1840, "current config", "Road");
  fake::setString(kHKCU, kKernel1901, "Current Config", "Rail");
  EXPECT_EQ(TsEnGetCurrentConfig(), "Road");
  setLayout19(true);
  EXPECT_EQ(TsEnGetCurrentConfig(), "Rail");
  fake::setString(kHKCU, kKernel1901, "Current Config", "");
  EXPECT_EQ(TsEnGetCurrentConfig(), "") << "empty value";
  EXPECT_EQ(fake::openHandles(), 0);
}

} // namespace
} // namespace tsen::testing
