// An empty test double for every test, and scratch folders on the host's disk.
#pragma once

#include "TsEnvironment.h"
#include "platform/testing/FakeSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace tsen::testing {

inline const HKEY kHKCU = platform::kCurrentUser;
inline const HKEY kHKLM = platform::kLocalMachine;

inline constexpr std::string_view kKernel1840 =
    "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";
inline constexpr std::string_view kKernel1901 =
    "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Kernel Services";
inline constexpr std::string_view kQvrKey = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";

inline std::string backslashed(const std::filesystem::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// A folder of its own below the host's temporary folder, removed afterwards.
class ScratchFolder {
public:
  ScratchFolder() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() /
            ("tsen-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(root_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  const std::filesystem::path& path() const { return root_; }
  std::string library(std::string_view relative = {}) const {
    return relative.empty() ? backslashed(root_) : backslashed(root_ / relative);
  }
  std::filesystem::path write(std::string_view relative, std::string_view content) const {
    const auto file = root_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }

private:
  std::filesystem::path root_;
};

class FakeSystemTest : public ::testing::Test {
protected:
  void SetUp() override { fake::reset(); }

  static void setLayout19(bool on) { fake::setDword(kHKCU, kQvrKey, "QVRConnect", on ? 1 : 0); }
  static std::string kernelKey(bool layout19) {
    return std::string(layout19 ? kKernel1901 : kKernel1840);
  }
  static void installLibraryIn(const std::string& appFolder) {
    fake::setModuleFileName(appFolder + "\\Binaries\\Tessaline.Environment.dll");
  }
};

} // namespace tsen::testing
