// Under Wine: the settings are the real product keys, loaded by the registry editor; the
// user folders are the system's own; addresses and compiled help reach stand-ins registered
// for the https scheme and the HTML Help control.
#pragma once

#include "tests/wine/ProductKeysGuard.h"
#include "tests/wine/help_entry/HelpEntryWine.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <regex>

namespace tsenv::tests {

class SuiteSystem : public ::testing::Test {
protected:
  void setUpSystem() {
    keys_.emplace();
    machineKeysExisted_ = tsen::testing::keyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quarzel");
    fs::remove_all(userData());
    ASSERT_EQ(run({"regedit.exe", "/S",
                   fs::path(TSENV_EXAMPLES "/settings.reg").make_preferred().string()}),
              0);
    const std::string record = root_ / "opened.log";
    browser_ = std::make_unique<tsen::testing::ClassesValue>(
        "https\\shell\\open\\command", nullptr, REG_SZ,
        "\"" + fs::path(TSENV_RECORDER).make_preferred().string() + "\" \"" + record + "\" \"%1\"");
    control_ = tsen::testing::registerControl(fs::path(TSENV_CONTROL).make_preferred().string());
    SetEnvironmentVariableA("TSEN_FAKE_HH_LOG", record.c_str());
  }

  // The members put back the keys and class registrations afterwards.
  ~SuiteSystem() override {
    std::error_code ignored;
    fs::remove_all(userData(), ignored);
    if (!machineKeysExisted_) {
      tsen::testing::deleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Quarzel");
    }
  }

  static fs::path userData() {
    return fs::path(std::getenv("APPDATA")) / "Quarzel/Tessaline/19.01/RA_Zora/Road";
  }

  // Later runs see no settings at all.
  void useEmptySettings() {
    tsen::testing::deleteTree(HKEY_CURRENT_USER, tsen::testing::kSuiteKey);
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
      return CreateFileA(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = open("NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = open(root_ / "stdout.txt", GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = open(root_ / "stderr.txt", GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, line.data() + 1, nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    for (const HANDLE handle :
         {startup.hStdInput, startup.hStdOutput, startup.hStdError, process.hThread}) {
      CloseHandle(handle);
    }
    const tsen::platform::win32::UniqueHandle child(process.hProcess);
    return started ? static_cast<int>(tsen::testing::exitCodeOf(child)) : -1;
  }

  tsen::testsupport::ScratchFolder root_{"tsenv-test-"};

private:
  std::optional<tsen::testing::ProductKeysGuard> keys_;
  bool machineKeysExisted_ = false;
  std::unique_ptr<tsen::testing::ClassesValue> browser_;
  std::unique_ptr<tsen::testing::ClassesValue> control_;
};

} // namespace tsenv::tests
