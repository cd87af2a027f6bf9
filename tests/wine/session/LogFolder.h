// A configuration of the running test's own, made current in one layout,
// and its user data folder, which holds the command log. The folder is
// removed with the test, so parallel tests never share a log.
#pragma once

#include "tests/wine/folders/Layouts.h"
#include "tests/wine/folders/ShellFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tsen::testing {

class LogFolder {
public:
  // Makes the configuration current in layout and, with create, its folder.
  explicit LogFolder(const Layout& layout, bool create = true)
      : config_(nameOfThisTest("Log")),
        path_(configurationFolder(shellFolder(CSIDL_APPDATA), layout, config_)) {
    EXPECT_TRUE(setKernelValue(layout, "Current Config", config_));
    removeFolder();
    if (create) {
      std::filesystem::create_directories(path_);
    }
  }
  ~LogFolder() { removeFolder(); }
  LogFolder(const LogFolder&) = delete;
  LogFolder& operator=(const LogFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string logFile() const { return path_ + "\\TessalineCommand.log"; }
  // The log's bytes; empty when there is no log.
  std::string logText() const {
    std::ifstream in(logFile(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

private:
  void removeFolder() const {
    // A read-only log would stay behind.
    SetFileAttributesA(logFile().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  std::string config_;
  std::string path_;
};

} // namespace tsen::testing
