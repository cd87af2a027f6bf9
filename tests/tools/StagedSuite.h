// A scratch copy of the sample installation with tsenv (the library linked
// in) in Binaries, and the sample settings in force: on the host in a
// registry file of the test's own, with the user folders below the scratch
// folder and stand-ins on PATH for the browser and help viewers; under Wine
// in the real product keys, loaded by the registry editor, with stand-ins
// registered for the https scheme and the HTML Help control. The stand-ins
// only note what they were asked to open.
#pragma once

#include "testsupport/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include "tests/wine/WinSystem.h"
#else
#include <cstdlib>

#include <sys/wait.h>
#endif

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

class StagedSuite : public ::testing::Test {
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

  // What the stand-ins were asked to open: the browser may start seconds after tsenv returns,
  // and its line is whole only once it ends.
  std::string opened() const {
    std::string log;
    for (int tries = 0; tries < 600 && !(log = readFile(root_ / "opened.log")).ends_with('\n');
         ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return log;
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

  tsen::testsupport::ScratchFolder root_{"tsenv-test-"};

#ifdef _WIN32
  void setUpSystem() {
    using tsen::testing::ClassesValue;
    keys_.emplace();
    fs::remove_all(userData());
    ASSERT_EQ(run({"regedit.exe", "/S",
                   fs::path(TSENV_EXAMPLES "/settings.reg").make_preferred().string()}),
              0);
    const std::string record = root_ / "opened.log";
    browser_.emplace("https\\shell\\open\\command", REG_SZ,
                     "\"" + fs::path(TSENV_RECORDER).make_preferred().string() + "\" \"" + record +
                         "\" \"%1\"");
    control_.emplace(tsen::testing::kHelpControl, REG_SZ,
                     fs::path(TSENV_CONTROL).make_preferred().string());
    SetEnvironmentVariableA("TSEN_FAKE_HH_LOG", record.c_str());
  }
  ~StagedSuite() override {
    std::error_code ignored;
    fs::remove_all(userData(), ignored);
  }

  static fs::path userData() {
    return fs::path(std::getenv("APPDATA")) / "Quarzel/Tessaline/19.01/RA_Zora/Road";
  }
  void useEmptySettings() {
    RegDeleteTreeA(HKEY_CURRENT_USER, tsen::testing::kSuiteKey);
  }

  // The keys a tsenv command may touch, and those it must never touch, as
  // the registry editor exports them.
  std::string settingsSnapshot() const {
    std::string text;
    for (const char* key :
         {"HKEY_CURRENT_USER\\SOFTWARE\\Quarzel", "HKEY_CURRENT_USER\\SOFTWARE\\Other",
          "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quarzel"}) {
      fs::remove(root_ / "snapshot.reg");
      run({"regedit.exe", "/E", root_ / "snapshot.reg", key});
      text += key + ("\n" + readFile(root_ / "snapshot.reg"));
    }
    return text;
  }

  // Runs command[0] with the arguments that follow, split by the C runtime as
  // given, its output to stdout.txt and stderr.txt in root_; answers its exit status.
  int run(const std::vector<std::string>& command) const {
    std::string line;
    for (const std::string& argument : command) {
      // Backslashes before a quote or the closing quote double; quotes take one.
      const std::string inner =
          std::regex_replace(argument, std::regex(R"-((\\*)")-"), R"-($1$1\")-");
      line += " \"" + std::regex_replace(inner, std::regex(R"((\\*)$)"), "$1$1") + '"';
    }
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const auto open = [&](const std::string& file, DWORD access, DWORD disposition) {
      return tsen::platform::win32::UniqueHandle(
          CreateFileA(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                      disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    const auto in = open("NUL", GENERIC_READ, OPEN_EXISTING),
               out = open(root_ / "stdout.txt", GENERIC_WRITE, CREATE_ALWAYS),
               err = open(root_ / "stderr.txt", GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.get();
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    return static_cast<int>(
        tsen::testing::exitCodeOf(tsen::testing::startProcess(line.substr(1), &startup)));
  }

private:
  std::optional<tsen::testing::ProductKeysGuard> keys_;
  std::optional<tsen::testing::ClassesValue> browser_, control_;
#else
  // Each test runs in a process of its own: the environment needs no undoing.
  void setUpSystem() {
    fs::copy_file(fs::path(TSENV_EXAMPLES) / "settings.reg", root_ / "registry.reg");
    ::setenv("TSEN_REGISTRY", (root_ / "registry.reg").c_str(), 1);
    for (const char* variable : {"XDG_CONFIG_HOME", "HOME", "TMPDIR", "XDG_DATA_DIRS", "PATH"}) {
      fs::create_directories(root_.path() / variable); // a folder of its own, named after it
      ::setenv(variable, (root_ / variable).c_str(), 1);
    }
    for (const char* viewer : {"xdg-open", "xchm", "kchmviewer", "chmsee"}) {
      root_.write(std::string("PATH/") + viewer,
                  "#!/bin/sh\necho \"$0 $*\" >> '" + (root_ / "opened.log") + "'\n");
      fs::permissions(root_.path() / "PATH" / viewer, fs::perms::owner_all);
    }
  }

  fs::path userData() const {
    return root_.path() / "XDG_CONFIG_HOME/Quarzel/Tessaline/19.01/RA_Zora/Road";
  }
  void useEmptySettings() {
    ::setenv("TSEN_REGISTRY", (root_ / "empty.reg").c_str(), 1);
  }
  std::string settingsSnapshot() const {
    return readFile(root_ / "registry.reg");
  }

  // Runs command[0] with the arguments that follow, its output to stdout.txt
  // and stderr.txt in root_; answers its exit status.
  int run(const std::vector<std::string>& command) const {
    std::string line = "cd '" + root_.path().string() + "' &&";
    for (const std::string& argument : command) {
      line += " '" + std::regex_replace(argument, std::regex("'"), "'\\''") + "'";
    }
    const int raw = std::system((line + " >stdout.txt 2>stderr.txt </dev/null").c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
#endif
};

} // namespace tsenv::tests
