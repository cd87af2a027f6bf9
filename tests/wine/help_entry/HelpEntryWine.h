// Help requests through the DLL against the real system. The test program
// sits in a folder named Binaries beside a copy of the DLL, the stand-in
// help control and the address recorder, so its parent is the application
// folder. The DLL's message boxes are recorded in place of being shown.
#pragma once

#include "ImportSwap.h"

#include "tests/wine/help/HelpAppFolder.h"

#include "TsEnvironment.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tsen::testing {

inline constexpr const char* kControlKey =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

inline std::string programFolder() {
  std::string program(MAX_PATH * 4, '\0');
  program.resize(GetModuleFileNameA(nullptr, program.data(), MAX_PATH * 4));
  return program.erase(program.rfind('\\'));
}

inline HMODULE environmentDll() {
  return GetModuleHandleA("Tessaline.Environment.dll");
}

// The lines of a file that a helper program writes.
inline std::vector<std::string> linesOf(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// A box as one line: "<caption> <style>: <text>", with "owned " in front
// when it had an owner window.
inline std::string boxLine(const std::string& caption, unsigned style, const std::string& text) {
  char styleText[16];
  std::snprintf(styleText, sizeof styleText, "%#x", style);
  return caption + " " + styleText + ": " + text;
}
inline std::string helpBox(const std::string& text) {
  return boxLine("Tessaline help", 0x30, text);
}
inline const std::string kShellFailedBox =
    boxLine("Tessaline", 0x40, "Failed executing Wiki url (ShellExecute).");

inline std::vector<std::string>& shownBoxes() {
  static std::vector<std::string> boxes;
  return boxes;
}
inline int WINAPI recordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  shownBoxes().push_back((owner ? "owned " : "") + boxLine(caption, style, text));
  return IDOK;
}

inline std::string viewerFailedText(const std::string& file) {
  return "Unable to start help file \"" + file + "\" !";
}
inline std::string topicMissingText(int topic, const std::string& file) {
  return "Unable to find topic \"" + std::to_string(topic) + "\" in help file \"" + file + "\" !";
}

// One value below HKEY_CLASSES_ROOT while it lives. Written below the user's
// Software\Classes when the system shows those in HKEY_CLASSES_ROOT (Windows
// does; Wine does not), otherwise into HKEY_CLASSES_ROOT itself; either way
// what was there before comes back afterwards.
class ClassesValue {
public:
  ClassesValue(std::string key, const char* name, DWORD type, std::string_view text)
      : key_(std::move(key)), name_(name ? name : ""),
        keyExisted_(keyExists(HKEY_CLASSES_ROOT, key_)),
        before_(readRaw(HKEY_CLASSES_ROOT, key_, name)) {
    const Bytes bytes = bytesOf(std::string(text) + '\0');
    if (writeRaw(HKEY_CURRENT_USER, userKey(), name, type, bytes) && reads(type, bytes)) {
      perUser_ = true;
      return;
    }
    removeUserKey();
    writeRaw(HKEY_CLASSES_ROOT, key_, name, type, bytes);
  }
  ~ClassesValue() {
    if (perUser_) {
      removeUserKey();
    } else if (!keyExisted_) {
      deleteTree(HKEY_CLASSES_ROOT, key_);
    } else if (before_) {
      writeRaw(HKEY_CLASSES_ROOT, key_, valueName(), before_->type, before_->bytes);
    } else if (const auto key = createRaw(HKEY_CLASSES_ROOT, key_)) {
      RegDeleteValueA(key.get(), valueName());
    }
  }
  ClassesValue(const ClassesValue&) = delete;
  ClassesValue& operator=(const ClassesValue&) = delete;

private:
  std::string userKey() const { return "Software\\Classes\\" + key_; }
  // The key with its values, then each parent that this left empty.
  void removeUserKey() const {
    std::string key = userKey();
    deleteTree(HKEY_CURRENT_USER, key);
    for (auto cut = key.rfind('\\'); cut > std::string("Software\\Classes").size();
         cut = key.rfind('\\')) {
      key.erase(cut);
      RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str()); // fails on a key that holds others
    }
  }
  const char* valueName() const { return name_.empty() ? nullptr : name_.c_str(); }
  bool reads(DWORD type, const Bytes& bytes) const {
    const auto seen = readRaw(HKEY_CLASSES_ROOT, key_, valueName());
    return seen && seen->type == type && seen->bytes == bytes;
  }

  std::string key_, name_;
  bool keyExisted_;
  std::optional<RawValue> before_;
  bool perUser_ = false;
};

// The stand-in help control as the registered HTML Help control.
inline std::unique_ptr<ClassesValue> registerControl(std::string_view file, DWORD type = REG_SZ) {
  return std::make_unique<ClassesValue>(kControlKey, nullptr, type, file);
}

// A scheme of the test's own, opened by the address recorder, which writes
// each address it is given to record.
class RecordedScheme {
public:
  RecordedScheme(const std::string& scheme, std::string record)
      : record_(std::move(record)), protocol_(scheme, "URL Protocol", REG_SZ, ""),
        command_(scheme + "\\shell\\open\\command", nullptr, REG_SZ,
                 "\"" + programFolder() + "\\AddressRecorder.exe\" \"" + record_ + "\" \"%1\"") {}

  // The addresses the recorder got, in order, once there are count of them
  // or a few seconds have passed.
  std::vector<std::string> recorded(std::size_t count) const {
    std::vector<std::string> addresses;
    for (int tries = 0; tries < 200 && addresses.size() < count; ++tries) {
      Sleep(50);
      addresses = linesOf(record_);
    }
    return addresses;
  }

private:
  std::string record_;
  ClassesValue protocol_, command_;
};

class HelpEntryWine : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(environmentDll(), nullptr);
    ASSERT_TRUE(boxSwap_.swapped());
    setLanguageCode("NOR");
    // The control's and the recorder's records go there too.
    app.makeHelpFolder("");
    SetEnvironmentVariableA("TSEN_FAKE_HH_LOG", viewerLog_.c_str());
    showInViewer({});
  }
  void TearDown() override {
    SetEnvironmentVariableA("TSEN_FAKE_HH_LOG", nullptr);
    SetEnvironmentVariableA("TSEN_FAKE_HH_SHOWS", nullptr);
  }

  // <app>\Help\<folder>\<name>.chm, spelled as the library spells it.
  std::string chm(std::string_view folder, std::string_view name) const {
    return app.help(std::string(folder) + "\\" + std::string(name) + ".chm");
  }
  // The viewer calls, each "<command> <data> <file>", that show help.
  static void showInViewer(const std::vector<std::string>& calls) {
    std::string shows;
    for (const auto& call : calls) {
      shows += (shows.empty() ? "" : "|") + call;
    }
    SetEnvironmentVariableA("TSEN_FAKE_HH_SHOWS", shows.c_str());
  }
  // The calls the stand-in control got, in order.
  std::vector<std::string> viewerCalls() const { return linesOf(viewerLog_); }

  ProductKeysGuard keys;
  HelpAppFolder app;
  std::unique_ptr<ClassesValue> control = registerControl(programFolder() + "\\FakeHtmlHelp.dll");

private:
  std::string viewerLog_ = app.help("viewer.log");
  ImportSwap<decltype(MessageBoxA)> boxSwap_{environmentDll(), "user32.dll", "MessageBoxA",
                                             recordBox};
};

} // namespace tsen::testing
