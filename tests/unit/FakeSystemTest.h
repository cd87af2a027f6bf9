// An empty test double for every test, with the library installed in a scratch folder.
#pragma once

#include "TsEnvironment.h"
#include "platform/testing/FakeSystem.h"
#include "testsupport/Scratch.h"

#include <gtest/gtest.h>

#include <regex>

namespace tsen::testing {

inline const HKEY kHKCU = platform::kCurrentUser;
inline const HKEY kHKLM = platform::kLocalMachine;
inline constexpr std::string_view kKernel1840 =
    "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";
inline constexpr std::string_view kKernel1901 =
    "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Kernel Services";
inline constexpr std::string_view kQvrKey = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";

using testsupport::backslashed;
using testsupport::ScratchFolder;

// The command log's bytes, each time stamp as "T".
inline std::string logStampsAsT(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  return std::regex_replace(text, std::regex(R"(\d{4}\.\d\d\.\d\d, \d\d:\d\d:\d\d)"), "T");
}

class FakeSystemTest : public ::testing::Test {
protected:
  void SetUp() override {
    fake::reset();
    installLibraryIn(app.library());
  }

  static void setLayout19(bool on) { fake::setDword(kHKCU, kQvrKey, "QVRConnect", on ? 1 : 0); }
  static std::string_view kernelKey(bool layout19) { return layout19 ? kKernel1901 : kKernel1840; }
  static void setConfig(bool layout19, const std::string& config) {
    setLayout19(layout19);
    fake::setString(kHKCU, kernelKey(layout19), "Current Config", config);
  }
  static void installLibraryIn(const std::string& appFolder) {
    fake::setModuleFileName(appFolder + "\\Binaries\\Tessaline.Environment.dll");
  }
  // Writes below app\Help; answers the file as the library spells it.
  std::string writeHelp(std::string_view relative, std::string_view content) const {
    return backslashed(app.write("Help/" + std::string(relative), content));
  }

  ScratchFolder app;
};

} // namespace tsen::testing
