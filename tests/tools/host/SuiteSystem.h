// The host's side of a staged suite: the settings in a registry file of the
// test's own, the user folders below the scratch folder, and stand-ins on
// PATH for the browser and help viewers, which only note that they ran.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace tsenv::tests {

namespace fs = std::filesystem;

class SuiteSystem : public ::testing::Test {
protected:
  void setUpSystem() {
    std::string name = (fs::temp_directory_path() / "tsenv-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    root_ = name;
    fs::copy_file(fs::path(TSENV_EXAMPLES) / "settings.reg", root_ / "registry.reg");
    ::setenv("TSEN_REGISTRY", (root_ / "registry.reg").c_str(), 1);
    // The loader takes the library from Binaries, so that is its folder.
    ::setenv("LD_LIBRARY_PATH", (root_ / "Suite/Binaries").c_str(), 1);
    ::unsetenv("TSEN_DRY_RUN");
    const char* const folders[][2] = {{"XDG_CONFIG_HOME", "config"},
                                      {"HOME", "home"},
                                      {"TMPDIR", "tmp"},
                                      {"XDG_DATA_DIRS", "share"},
                                      {"PATH", "bin"}};
    for (const auto& [variable, folder] : folders) {
      fs::create_directories(root_ / folder);
      ::setenv(variable, (root_ / folder).c_str(), 1);
    }
    for (const char* viewer : {"xdg-open", "xchm", "kchmviewer", "chmsee"}) {
      std::ofstream(root_ / "bin" / viewer)
          << "#!/bin/sh\necho \"$0 $*\" >> '" << (root_ / "opened.log").string() << "'\n";
      fs::permissions(root_ / "bin" / viewer, fs::perms::owner_all);
    }
  }

  // Each test runs in a process of its own: the environment needs no undoing.
  void tearDownSystem() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  fs::path userData() const { return root_ / "config/Quarzel/Tessaline/19.01/RA_Zora/Road"; }

  // Later runs see no settings at all.
  void useEmptySettings() { ::setenv("TSEN_REGISTRY", (root_ / "empty.reg").c_str(), 1); }

  // Everything the registry holds.
  std::string settingsSnapshot() const {
    std::ifstream file(root_ / "registry.reg", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  // Runs command[0] with the arguments that follow; answers its exit status.
  int run(const std::vector<std::string>& command, const fs::path& out, const fs::path& err) const {
    std::string line;
    for (const std::string& argument : command) {
      line += " '";
      for (const char c : argument) {
        line += c == '\'' ? std::string("'\\''") : std::string(1, c);
      }
      line += "'";
    }
    line += " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
    const int raw = std::system(line.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  fs::path root_;
};

} // namespace tsenv::tests
