// The host's side of a staged suite: the settings in a registry file of the
// test's own (TSEN_REGISTRY), the user, temporary and shared folders below
// the scratch folder, and stand-ins on PATH for the programs that would open
// a browser or a help viewer, which only note that they ran.
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
    for (const char* folder : {"bin", "config", "home", "tmp", "share"}) {
      fs::create_directories(root_ / folder);
    }
    for (const char* viewer : {"xdg-open", "xchm", "kchmviewer", "chmsee"}) {
      std::ofstream(root_ / "bin" / viewer)
          << "#!/bin/sh\necho \"$0 $*\" >> '" << (root_ / "opened.log").string() << "'\n";
      fs::permissions(root_ / "bin" / viewer, fs::perms::owner_all);
    }
    setEnvironment("TSEN_REGISTRY", (root_ / "registry.reg").string());
    setEnvironment("XDG_CONFIG_HOME", (root_ / "config").string());
    setEnvironment("HOME", (root_ / "home").string());
    setEnvironment("TMPDIR", (root_ / "tmp").string());
    setEnvironment("XDG_DATA_DIRS", (root_ / "share").string());
    // The loader takes the library from Binaries, so that is its folder.
    setEnvironment("LD_LIBRARY_PATH", (root_ / "Suite/Binaries").string());
    setEnvironment("PATH", (root_ / "bin").string() + ":/usr/bin:/bin");
    ::unsetenv("TSEN_DRY_RUN");
  }

  // Each test runs in a process of its own: the environment needs no undoing.
  void tearDownSystem() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  fs::path userData() const { return root_ / "config/Quarzel/Tessaline/19.01/RA_Zora/Road"; }

  // Later runs see no settings at all.
  void useEmptySettings() { setEnvironment("TSEN_REGISTRY", (root_ / "empty.reg").string()); }

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

  static void setEnvironment(const std::string& name, const std::string& value) {
    ::setenv(name.c_str(), value.c_str(), 1);
  }

  fs::path root_;
};

} // namespace tsenv::tests
