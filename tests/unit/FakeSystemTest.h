// An empty test double for every test; scratch folders from testsupport.
#pragma once

#include "TsEnvironment.h"
#include "platform/testing/FakeSystem.h"
#include "testsupport/Scratch.h"

#include <gtest/gtest.h>

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

class FakeSystemTest : public ::testing::Test {
protected:
  void SetUp() override { fake::reset(); }

  static void setLayout19(bool on) { fake::setDword(kHKCU, kQvrKey, "QVRConnect", on ? 1 : 0); }
  static std::string_view kernelKey(bool layout19) { return layout19 ? kKernel1901 : kKernel1840; }
  static void installLibraryIn(const std::string& appFolder) {
    fake::setModuleFileName(appFolder + "\\Binaries\\Tessaline.Environment.dll");
  }
};

} // namespace tsen::testing
