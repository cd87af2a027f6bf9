// A folder of one test's own below the temporary folder, removed with all
// it holds when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tsen::testing {

class ScratchFolder {
public:
  ScratchFolder() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH + 1, temp);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "tsen-";
    if (test) {
      name += std::string(test->test_suite_name()) + "." + test->name() + "-";
    }
    for (char& c : name) {
      if (c == '/') {
        c = '.';
      }
    }
    path_ = std::string(temp) + name + std::to_string(GetCurrentProcessId());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder, without a trailing backslash.
  const std::string& path() const { return path_; }
  std::string below(std::string_view name) const { return path_ + "\\" + std::string(name); }
  // Writes a file below the folder and answers its full path.
  std::string addFile(std::string_view name, std::string_view content = "x") const {
    const std::string file = below(name);
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }

private:
  std::string path_;
};

} // namespace tsen::testing
