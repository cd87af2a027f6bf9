// A scratch installation of the sample suite for running tsenv: the sample
// files with tsenv and the library in Binaries, and the sample settings in
// force. SuiteSystem, chosen by the build (host/ or win32/), says where the
// settings and the user folders live, how a program runs, and what stands in
// for the programs that would open a browser or a help viewer.
#pragma once

#include "SuiteSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace tsenv::tests {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out, err;
};

// A command line, and what tsenv must print and answer for it.
struct Step {
  std::vector<std::string> arguments;
  std::string out;
  int status = 0;
};

inline std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

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

class StagedSuite : public SuiteSystem {
protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(setUpSystem());
    fs::copy(fs::path(TSENV_EXAMPLES) / "installation", suite(), fs::copy_options::recursive);
    fs::create_directories(binaries());
    for (const fs::path built : {TSENV_PROGRAM, TSENV_LIBRARY}) {
      fs::copy_file(built, binaries() / built.filename());
    }
  }
  void TearDown() override { tearDownSystem(); }

  fs::path suite() const { return root_ / "Suite"; }
  fs::path binaries() const { return suite() / "Binaries"; }
  fs::path scratch(const std::string& name) const { return root_ / name; }
  // The application folder as the library answers it.
  std::string app() const { return libraryPath(suite()); }

  // What the stand-ins were asked to open, waiting a while for a first
  // request when told to: the browser starts after the request returns, and
  // on a busy machine that can take seconds. Only a failing test waits long.
  std::string opened(bool wait = false) const {
    for (int tries = 0; wait && tries < 600 && !fs::exists(scratch("opened.log")); ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return readFile(scratch("opened.log"));
  }

  Outcome tsenv(const std::vector<std::string>& arguments) const {
    std::vector<std::string> command{(binaries() / fs::path(TSENV_PROGRAM).filename()).string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    Outcome outcome{run(command, scratch("stdout.txt"), scratch("stderr.txt")),
                    readFile(scratch("stdout.txt")), readFile(scratch("stderr.txt"))};
    std::erase(outcome.out, '\r'); // the Windows runtime's CR LF line ends
    std::erase(outcome.err, '\r');
    return outcome;
  }

  // Runs the steps in order.
  void expectSteps(const std::vector<Step>& steps) const {
    for (const Step& step : steps) {
      const Outcome run = tsenv(step.arguments);
      EXPECT_EQ(run.out, step.out) << step.arguments.front() << " ... " << step.arguments.back();
      EXPECT_EQ(run.status, step.status) << step.arguments.front() << ": " << run.err;
    }
  }
};

} // namespace tsenv::tests
