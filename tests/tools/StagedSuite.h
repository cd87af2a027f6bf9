// A scratch copy of the sample installation with tsenv (the library linked
// in) in Binaries, and the sample settings in force. SuiteSystem.h (host/ or win32/)
// holds what the build changes: settings, user folders, processes, stand-ins.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace tsenv::tests {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// For EXPECT_TRUE/EXPECT_FALSE, showing the text when it matters.
inline ::testing::AssertionResult holds(const std::string& text, const std::string& part) {
  return ::testing::AssertionResult(text.find(part) != std::string::npos)
         << "\"" << part << "\" in: " << text;
}

// A tsenv command line with what it printed and answered, or must.
struct Call {
  std::vector<std::string> arguments;
  std::string out;
  int status = 0;
  std::string err = {};
};

inline void writeFile(const fs::path& path, const std::string& text, bool append = false) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc)) << text;
}

// The path as the library names it: backslashes.
inline std::string libraryPath(const fs::path& path) {
  std::string text = path.string();
  std::ranges::replace(text, '/', '\\');
  return text;
}

// A path of the library's as tsenv shows it to a person: as the host writes it.
inline std::string shown(std::string path) {
#if !defined(_WIN32)
  std::ranges::replace(path, '\\', '/');
#endif
  return path;
}

} // namespace tsenv::tests

// SuiteSystem: a ::testing::Test with root_ and setUpSystem(), undone on destruction.
#include "SuiteSystem.h"

namespace tsenv::tests {

class StagedSuite : public SuiteSystem {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(setUpSystem());
    fs::copy(fs::path(TSENV_EXAMPLES) / "installation", suite(), fs::copy_options::recursive);
    fs::create_directories(binaries());
    fs::copy_file(TSENV_PROGRAM, binaries() / fs::path(TSENV_PROGRAM).filename());
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  fs::path suite() const { return root_ / "Suite"; }
  fs::path binaries() const { return suite() / "Binaries"; }
  fs::path scratch(const std::string& name) const { return root_ / name; }
  std::string app() const { return libraryPath(suite()); }

  // What the stand-ins were asked to open: the browser may start seconds after tsenv returns.
  std::string opened() const {
    for (int tries = 0; tries < 600 && !fs::exists(scratch("opened.log")); ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return readFile(scratch("opened.log"));
  }

  Call tsenv(const std::vector<std::string>& arguments) const {
    std::vector<std::string> command{(binaries() / fs::path(TSENV_PROGRAM).filename()).string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const int status = run(command);
    Call ran{arguments, readFile(scratch("stdout.txt")), status, readFile(scratch("stderr.txt"))};
    std::erase(ran.out, '\r'); // the Windows runtime's CR LF line ends
    std::erase(ran.err, '\r');
    return ran;
  }

  void expectSteps(const std::vector<Call>& steps) const {
    for (const Call& step : steps) {
      const Call run = tsenv(step.arguments);
      const std::string command = ::testing::PrintToString(step.arguments);
      EXPECT_EQ(run.out, step.out) << command;
      EXPECT_EQ(run.status, step.status) << command << ": " << run.err;
      if (step.status == 2) { // a bad command line
        EXPECT_TRUE(std::regex_match(run.err, std::regex("tsenv: [^\n]+\n"))) << run.err;
      }
    }
  }
};

} // namespace tsenv::tests
