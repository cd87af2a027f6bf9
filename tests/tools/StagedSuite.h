// A scratch copy of the sample installation with tsenv (the library linked
// in) in Binaries, and the sample settings in force. SuiteSystem.h (host/ or
// win32/) holds what the build changes: settings, user folders, processes.
#pragma once

#include "testsupport/Scratch.h"

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
using tsen::testsupport::backslashed;

inline std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// For EXPECT_TRUE/EXPECT_FALSE, showing the text when it matters.
inline ::testing::AssertionResult holds(const std::string& text, const std::string& part) {
  return ::testing::AssertionResult(text.find(part) != std::string::npos)
         << "\"" << part << "\" in: " << text;
}

// A path of the library's as tsenv shows it to a person: as the host writes it.
inline std::string shown(std::string path) {
#if !defined(_WIN32)
  std::ranges::replace(path, '\\', '/');
#endif
  return path;
}

// A tsenv command line with what it printed and answered, or must.
struct Call {
  std::vector<std::string> arguments;
  std::string out;
  int status = 0;
  std::string err = {};
};

} // namespace tsenv::tests

// SuiteSystem: a ::testing::Test with the scratch folder root_, setUpSystem()
// and run(command), undone on destruction.
#include "SuiteSystem.h"

namespace tsenv::tests {

class StagedSuite : public SuiteSystem {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(setUpSystem());
    fs::copy(fs::path(TSENV_EXAMPLES) / "installation", suite(), fs::copy_options::recursive);
    fs::create_directories(suite() / "Binaries");
    fs::copy_file(TSENV_PROGRAM, program());
  }

  fs::path suite() const { return root_.path() / "Suite"; }
  fs::path program() const { return suite() / "Binaries" / fs::path(TSENV_PROGRAM).filename(); }
  std::string app() const { return backslashed(suite()); }

  // What the stand-ins were asked to open: the browser may start seconds after tsenv returns.
  std::string opened() const {
    for (int tries = 0; tries < 600 && !fs::exists(root_ / "opened.log"); ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return readFile(root_ / "opened.log");
  }

  Call tsenv(const std::vector<std::string>& arguments) const {
    std::vector<std::string> command{program().string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    Call ran{arguments, "", run(command)};
    ran.out = readFile(root_ / "stdout.txt");
    ran.err = readFile(root_ / "stderr.txt");
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
