#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

namespace tsen::testing {
namespace {

using ProductKeysTest = FakeSystemTest;

constexpr const char* kRoot1840 = "SOFTWARE\\Quarzel\\Tessaline\\18.40";
constexpr const char* kRoot1901 = "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora";

TEST_F(ProductKeysTest, ConnectionFlagChoosesTheLayout) {
  const struct {
    const char* name;
    std::function<void()> store;
    bool layout19;
  } cases[] = {
      {"no key", [] {}, false},
      {"key without value", [] { fake::createKey(kHKCU, kQvrKey); }, false},
      {"zero", [] { fake::setDword(kHKCU, kQvrKey, "QVRConnect", 0); }, false},
      {"two", [] { fake::setDword(kHKCU, kQvrKey, "QVRConnect", 2); }, false},
      {"one", [] { fake::setDword(kHKCU, kQvrKey, "qvrconnect", 1); }, true},
      {"text one", [] { fake::setString(kHKCU, kQvrKey, "QVRConnect", "1"); }, false},
      {"one in eight bytes",
       [] {
         fake::setValue(kHKCU, kQvrKey, "QVRConnect",
                        {platform::kRegQword, {1, 0, 0, 0, 0, 0, 0, 0}});
       },
       false},
      {"one in one byte",
       [] {
         fake::setValue(kHKCU, kQvrKey, "QVRConnect", {platform::kRegBinary, {1}});
       },
       true},
      {"below the local machine only", [] { fake::setDword(kHKLM, kQvrKey, "QVRConnect", 1); },
       false},
  };
  for (const auto& c : cases) {
    fake::reset();
    c.store();
    const std::string root = c.layout19 ? kRoot1901 : kRoot1840;
    EXPECT_EQ(TsEnQVRConnect(), c.layout19) << c.name;
    EXPECT_EQ(TsEnGetRegistryKey(), root) << c.name;
    EXPECT_EQ(TsEnGetRegKeyKernelServices(), root + "\\Kernel Services") << c.name;
    EXPECT_EQ(fake::openHandles(), 0) << c.name;
  }
}

TEST_F(ProductKeysTest, BuildRegKeyAppendsTheSubKeyUnchanged) {
  setLayout19(true);
  EXPECT_EQ(TsEnBuildRegKey("Tessaline modules"), std::string(kRoot1901) + "\\Tessaline modules");
  EXPECT_EQ(TsEnBuildRegKey(""), std::string(kRoot1901) + "\\");
  EXPECT_EQ(TsEnBuildRegKey("\\x\\"), std::string(kRoot1901) + "\\\\x\\");
  setLayout19(false);
  EXPECT_EQ(TsEnBuildRegKey("a"), std::string(kRoot1840) + "\\a");
}

TEST_F(ProductKeysTest, LayoutFollowsTheFlagFromOneCallToTheNext) {
  EXPECT_EQ(TsEnGetRegKeyKernelServices(), kKernel1840);
  setLayout19(true);
  EXPECT_EQ(TsEnGetRegKeyKernelServices(), kKernel1901);
  fake::removeKey(kHKCU, kQvrKey);
  EXPECT_EQ(TsEnGetRegKeyKernelServices(), kKernel1840);
}

TEST_F(ProductKeysTest, CurrentConfigIsReadFromTheLayoutInForce) {
  EXPECT_EQ(TsEnGetCurrentConfig(), "") << "no Kernel Services key";
  fake::createKey(kHKCU, kKernel1840);
  EXPECT_EQ(TsEnGetCurrentConfig(), "") << "no value";
  fake::setString(kHKCU, kKernel1840, "Current Config", "");
  EXPECT_EQ(TsEnGetCurrentConfig(), "") << "empty value";
  fake::setString(kHKCU, kKernel1840, "current config", "Road");
  fake::setString(kHKCU, kKernel1901, "Current Config", "Rail");
  EXPECT_EQ(TsEnGetCurrentConfig(), "Road");
  setLayout19(true);
  EXPECT_EQ(TsEnGetCurrentConfig(), "Rail");
  // Two keys are opened per call, both closed again.
  fake::resetCalls();
  TsEnGetCurrentConfig();
  EXPECT_EQ(fake::calls().regOpenKey, 2);
  EXPECT_EQ(fake::openHandles(), 0);
}

} // namespace
} // namespace tsen::testing
