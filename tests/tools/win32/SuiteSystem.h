// The Windows side of a staged suite, run under Wine: the settings are the
// real product keys of HKEY_CURRENT_USER, which the test owns while it runs
// (CTest resource lock "tsen_product_keys"), loaded from the sample file by
// the registry editor; the user folders are the system's own. Addresses and
// compiled help open through stand-ins registered for the https scheme and
// the HTML Help control, which only note that they ran.
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

  // The keys a tsenv command may touch, and those it must never touch, with
  // every value.
  std::string settingsSnapshot() const {
    std::string text;
    dump(HKEY_CURRENT_USER, "SOFTWARE\\Quarzel", text);
    dump(HKEY_CURRENT_USER, "SOFTWARE\\Other", text);
    dump(HKEY_LOCAL_MACHINE, kMachineKeys, text);
    return text;
  }

  // Runs command[0] with the arguments that follow, split by the C runtime
  // as given; answers its exit status. Output is read back as text, so the
  // runtime's CR LF line ends become line feeds.
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
    for (const fs::path& file : {out, err}) {
      toLineFeeds(file);
    }
    return static_cast<int>(status);
  }

  fs::path root_;

private:
  static constexpr const char* kMachineKeys = "SOFTWARE\\Quarzel";

  static void toLineFeeds(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    in.close();
    for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
      text.erase(at, 1);
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
  }

  static void dump(HKEY root, const std::string& path, std::string& text) {
    const auto key = tsen::testing::openRaw(root, path);
    if (!key) {
      return;
    }
    text += "[" + path + "]\n";
    char name[16384];
    DWORD length = sizeof name;
    for (DWORD i = 0; RegEnumValueA(key.get(), i, name, &length, nullptr, nullptr, nullptr,
                                    nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name) {
      const auto value = tsen::testing::readRaw(root, path, name);
      text += std::string(name) + "=" + std::to_string(value->type) + ":" +
              std::string(value->bytes.begin(), value->bytes.end()) + "\n";
    }
    std::vector<std::string> children;
    length = sizeof name;
    for (DWORD i = 0; RegEnumKeyExA(key.get(), i, name, &length, nullptr, nullptr, nullptr,
                                    nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name) {
      children.emplace_back(name, length);
    }
    for (const std::string& child : children) {
      dump(root, path + "\\" + child, text);
    }
  }

  std::optional<tsen::testing::ProductKeysGuard> keys_;
  bool machineKeysExisted_ = false;
  std::unique_ptr<tsen::testing::ClassesValue> browser_;
  std::unique_ptr<tsen::testing::ClassesValue> control_;
};

} // namespace tsenv::tests
