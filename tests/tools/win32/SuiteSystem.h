// The Windows side of a staged suite, under Wine: the settings are the real
// product keys, owned while the test runs (resource lock "tsen_product_keys")
// and loaded from the sample file by the registry editor; the user folders
// are the system's own. Addresses and compiled help reach stand-ins
// registered for the https scheme and the HTML Help control.
#pragma once

#include "tests/wine/ProductKeysGuard.h"
#include "tests/wine/help_entry/HelpEntryWine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tsenv::tests {

namespace fs = std::filesystem;

class SuiteSystem : public ::testing::Test {
protected:
  void setUpSystem() {
    root_ = fs::temp_directory_path() / ("tsenv-test-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(root_);
    fs::create_directories(root_);
    keys_.emplace();
    machineKeysExisted_ = tsen::testing::keyExists(HKEY_LOCAL_MACHINE, kMachineKeys);
    std::error_code ignored;
    fs::remove_all(userData(), ignored);
    ASSERT_EQ(run({"regedit.exe", "/S",
                   fs::path(TSENV_EXAMPLES "/settings.reg").make_preferred().string()},
                  root_ / "regedit.out", root_ / "regedit.err"),
              0);
    const std::string record = (root_ / "opened.log").string();
    browser_ = std::make_unique<tsen::testing::ClassesValue>(
        "https\\shell\\open\\command", nullptr, REG_SZ,
        "\"" + fs::path(TSENV_RECORDER).make_preferred().string() + "\" \"" + record + "\" \"%1\"");
    control_ = tsen::testing::registerControl(fs::path(TSENV_CONTROL).make_preferred().string());
    SetEnvironmentVariableA("TSEN_FAKE_HH_LOG", record.c_str());
    SetEnvironmentVariableA("TSEN_DRY_RUN", nullptr);
  }

  void tearDownSystem() {
    control_.reset();
    browser_.reset();
    std::error_code ignored;
    fs::remove_all(userData(), ignored);
    if (!machineKeysExisted_) {
      tsen::testing::deleteTree(HKEY_LOCAL_MACHINE, kMachineKeys);
    }
    keys_.reset();
    fs::remove_all(root_, ignored);
  }

  static fs::path userData() {
    char roaming[MAX_PATH] = {};
    EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, roaming), S_OK);
    return std::string(roaming) + "\\Quarzel\\Tessaline\\19.01\\RA_Zora\\Road";
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
      run({"regedit.exe", "/E", (root_ / "snapshot.reg").string(), key}, root_ / "regedit.out",
          root_ / "regedit.err");
      std::ifstream file(root_ / "snapshot.reg", std::ios::binary);
      text += key + ("\n" + std::string(std::istreambuf_iterator<char>(file), {}));
    }
    return text;
  }

  // Runs command[0] with the arguments that follow, split by the C runtime
  // as given; answers its exit status.
  int run(const std::vector<std::string>& command, const fs::path& out, const fs::path& err) const {
    std::string line;
    for (const std::string& argument : command) {
      line += (line.empty() ? "\"" : " \"");
      std::size_t backslashes = 0;
      for (const char c : argument) {
        line.append(c == '"' ? backslashes + 1 : 0, '\\') += c;
        backslashes = c == '\\' ? backslashes + 1 : 0;
      }
      line.append(backslashes, '\\') += '"';
    }
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const auto open = [&](const fs::path& file, DWORD access, DWORD disposition) {
      return CreateFileA(file.string().c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inherited, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = open("NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = open(out, GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = open(err, GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    DWORD status = DWORD(-1);
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                       &process)) {
      WaitForSingleObject(process.hProcess, 60000);
      GetExitCodeProcess(process.hProcess, &status);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
    for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
      CloseHandle(handle);
    }
    return static_cast<int>(status);
  }

  fs::path root_;

private:
  static constexpr const char* kMachineKeys = "SOFTWARE\\Quarzel";

  std::optional<tsen::testing::ProductKeysGuard> keys_;
  bool machineKeysExisted_ = false;
  std::unique_ptr<tsen::testing::ClassesValue> browser_;
  std::unique_ptr<tsen::testing::ClassesValue> control_;
};

} // namespace tsenv::tests
