// A registry key of one test's own below HKEY_CURRENT_USER, gone before the
// test starts and after it ends.
#pragma once

#include "RawRegistry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <string_view>

namespace tsen::testing {

class ScratchKey {
public:
  ScratchKey() : path_(uniquePath()) { deleteTree(HKEY_CURRENT_USER, path_); }
  ~ScratchKey() { deleteTree(HKEY_CURRENT_USER, path_); }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // The key's path relative to HKEY_CURRENT_USER.
  const std::string& path() const { return path_; }
  // A path below the key.
  std::string below(std::string_view name) const { return path_ + "\\" + std::string(name); }

private:
  static std::string uniquePath() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "Software\\TessalineTests\\";
    if (test) {
      name += std::string(test->test_suite_name()) + "." + test->name() + ".";
    }
    return name + std::to_string(GetCurrentProcessId());
  }

  std::string path_;
};

} // namespace tsen::testing
