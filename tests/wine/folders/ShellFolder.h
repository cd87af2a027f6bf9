// The system's own answers for the folders the library builds on, asked
// directly, so the library's answers can be checked against them.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <string>

namespace tsen::testing {

// SHGetFolderPathA's current location of a known folder; fails the test
// when the system has none.
inline std::string shellFolder(int csidl) {
  char buffer[MAX_PATH] = {};
  EXPECT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer), S_OK) << csidl;
  return buffer;
}

// GetTempPathA without its trailing backslashes.
inline std::string tempFolderTrimmed() {
  char buffer[MAX_PATH + 1] = {};
  std::string temp(buffer, GetTempPathA(sizeof buffer, buffer));
  while (!temp.empty() && temp.back() == '\\') {
    temp.pop_back();
  }
  return temp;
}

// A name of the running test's own, usable as a configuration name and a
// folder name: suite, test and process.
inline std::string nameOfThisTest(std::string prefix) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (test) {
    prefix += std::string("-") + test->test_suite_name() + "." + test->name();
  }
  for (char& c : prefix) {
    if (c == '/' || c == '\\') {
      c = '.';
    }
  }
  return prefix + "-" + std::to_string(GetCurrentProcessId());
}

} // namespace tsen::testing
