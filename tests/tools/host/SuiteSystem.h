// The host's side of a staged suite: the settings in a registry file of the
// test's own, the user folders below the scratch folder, and stand-ins on
// PATH for the browser and help viewers, which only note that they ran.
#pragma once

#include <cstdlib>
#include <regex>

#include <sys/wait.h>

namespace tsenv::tests {

class SuiteSystem : public ::testing::Test {
protected:
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
  void useEmptySettings() { ::setenv("TSEN_REGISTRY", (root_ / "empty.reg").c_str(), 1); }
  std::string settingsSnapshot() const { return readFile(root_ / "registry.reg"); }

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

  tsen::testsupport::ScratchFolder root_{"tsenv-test-"};
};

} // namespace tsenv::tests
