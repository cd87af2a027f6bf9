// A machine with every answer that expansion can ask for: the application
// folder, the user's folders, the configuration "Road" and the language NOR.
#pragma once

#include "support/FakeSystemTest.h"

#include "TsEnvironment.h"

#include <string>

namespace tsen::testing {

// Which system services one expansion asked.
struct Asked {
  bool moduleFile = false;
  bool knownFolder = false;
  bool tempFolder = false;
  bool registry = false;
  bool messageBox = false;

  static Asked since(const fake::CallCounts& c) {
    return {c.moduleFileName > 0, c.knownFolder > 0, c.tempFolder > 0,
            c.regOpenKey + c.regQueryValue > 0, c.messageBox > 0};
  }
  bool operator==(const Asked&) const = default;
};

class ExpansionTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    installLibraryIn("C:\\Suite");
    fake::setKnownFolder(platform::KnownFolder::roamingAppData, "C:\\Roaming");
    fake::setKnownFolder(platform::KnownFolder::commonFiles, "C:\\Common");
    fake::setTempFolder("C:\\Temp\\");
    setConfig("Road");
    fake::setString(kHKCU, kKernel1840, "Language", "NOR");
    fake::setString(kHKCU, kKernel1840, "My Tessaline Directory", "D:\\Mine");
  }

  static void setConfig(std::string_view config) {
    fake::setString(kHKCU, kKernel1840, "Current Config", config);
  }

  static std::string expand(const std::string& name, int base = TsEnBaseNone, int flags = 0) {
    return TsEnBuildFilename(name, base, flags);
  }
};

} // namespace tsen::testing
