// A scratch installation of the sample suite for running tsenv: the sample
// files with tsenv and the library in Binaries, the sample settings in a
// registry file of the test's own, and user, temporary and shared folders
// below the scratch folder. Programs that would open a browser or a help
// viewer are replaced by stand-ins that only note that they ran.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace tsenv::tests {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
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
  for (char& c : text) {
    c = c == '/' ? '\\' : c;
  }
  return text;
}

class StagedSuite : public ::testing::Test {
protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "tsenv-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    root_ = name;
    fs::copy(fs::path(TSENV_EXAMPLES) / "installation", suite(), fs::copy_options::recursive);
    fs::create_directories(binaries());
    fs::copy_file(TSENV_PROGRAM, binaries() / "tsenv");
    fs::copy_file(TSENV_LIBRARY, binaries() / fs::path(TSENV_LIBRARY).filename());
    fs::copy_file(fs::path(TSENV_EXAMPLES) / "settings.reg", registry());
    for (const char* viewer : {"xdg-open", "xchm", "kchmviewer", "chmsee"}) {
      writeFile(root_ / "bin" / viewer,
                "#!/bin/sh\necho \"$0 $*\" >> '" + (root_ / "opened.log").string() + "'\n");
      fs::permissions(root_ / "bin" / viewer, fs::perms::owner_all);
    }
    for (const char* folder : {"config", "home", "tmp", "share"}) {
      fs::create_directories(root_ / folder);
    }
    setEnvironment("TSEN_REGISTRY", registry().string());
    setEnvironment("XDG_CONFIG_HOME", (root_ / "config").string());
    setEnvironment("HOME", (root_ / "home").string());
    setEnvironment("TMPDIR", (root_ / "tmp").string());
    setEnvironment("XDG_DATA_DIRS", (root_ / "share").string());
    // The loader takes the library from Binaries, so that is its folder.
    setEnvironment("LD_LIBRARY_PATH", binaries().string());
    setEnvironment("PATH", (root_ / "bin").string() + ":/usr/bin:/bin");
    ::unsetenv("TSEN_DRY_RUN");
  }

  // Each test runs in a process of its own: the environment needs no undoing.
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  fs::path suite() const { return root_ / "Suite"; }
  fs::path binaries() const { return suite() / "Binaries"; }
  fs::path registry() const { return root_ / "registry.reg"; }
  fs::path scratch(const std::string& name) const { return root_ / name; }
  fs::path userData() const { return root_ / "config/Quarzel/Tessaline/19.01/RA_Zora/Road"; }
  // The application folder as the library answers it.
  std::string app() const { return libraryPath(suite()); }

  Outcome tsenv(std::initializer_list<std::string> arguments) const {
    return tsenv(std::vector<std::string>(arguments));
  }

  Outcome tsenv(const std::vector<std::string>& arguments) const {
    std::string command = "'" + (binaries() / "tsenv").string() + "'";
    for (const std::string& argument : arguments) {
      command += " '";
      for (const char c : argument) {
        command += c == '\'' ? std::string("'\\''") : std::string(1, c);
      }
      command += "'";
    }
    const fs::path out = root_ / "stdout.txt";
    const fs::path err = root_ / "stderr.txt";
    command += " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
  }

  static void setEnvironment(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
  }

private:
  fs::path root_;
};

} // namespace tsenv::tests
