// The application folder of a test program built into a folder named
// "Binaries": that folder's parent. Tests write help files below its "Help"
// folder and set the product keys, so they own both while they run (the
// programs' tests take the product keys lock in CTest).
#pragma once

#include "tests/wine/ProductKeysGuard.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace tsen::testing {

class HelpAppFolder {
public:
  HelpAppFolder() : path_(parentOfProgramFolder()) { removeHelp(); }
  ~HelpAppFolder() { removeHelp(); }
  HelpAppFolder(const HelpAppFolder&) = delete;
  HelpAppFolder& operator=(const HelpAppFolder&) = delete;

  const std::string& path() const { return path_; }
  // <app>\Help\<relative>; relative is written with backslashes.
  std::string help(std::string_view relative) const {
    return path_ + "\\Help\\" + std::string(relative);
  }
  // Writes <app>\Help\<relative> through the ANSI calls, so that names with
  // bytes above 0x7F reach the disk as the library will look for them; with
  // CR LF line ends when crlf is set. Answers the file's path.
  std::string writeHelp(std::string_view relative, std::string_view content,
                        bool crlf = false) const {
    const std::string file = help(relative);
    makeFolders(file.substr(0, file.rfind('\\')));
    std::string text;
    for (const char c : content) {
      text += crlf && c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
      std::fwrite(text.data(), 1, text.size(), out);
      std::fclose(out);
    }
    return file;
  }
  void makeHelpFolder(std::string_view relative) const { makeFolders(help(relative)); }
  void removeHelpFile(std::string_view relative) const { DeleteFileA(help(relative).c_str()); }

private:
  static std::string parentOfProgramFolder() {
    std::string program(MAX_PATH * 4, '\0');
    program.resize(GetModuleFileNameA(nullptr, program.data(), MAX_PATH * 4));
    program.erase(program.rfind('\\')); // the Binaries folder
    return program.erase(program.rfind('\\'));
  }
  static void makeFolders(const std::string& folder) {
    for (auto cut = folder.find('\\', 3); cut != std::string::npos;
         cut = folder.find('\\', cut + 1)) {
      CreateDirectoryA(folder.substr(0, cut).c_str(), nullptr);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  void removeHelp() const {
    std::error_code ignored;
    std::filesystem::remove_all(path_ + "\\Help", ignored);
  }

  std::string path_;
};

// The product settings a help request reads, written straight to the
// registry of the 18.40 layout.
inline void setKernelString(const char* name, std::string_view value) {
  writeRaw(HKEY_CURRENT_USER, kKernel1840, name, REG_SZ, bytesOf(std::string(value) + '\0'));
}
inline void setLanguageCode(std::string_view code) {
  setKernelString("Language", code);
}
inline void setActiveDomain(std::string_view domain) {
  writeRaw(HKEY_CURRENT_USER, std::string(kRoot1840) + "\\Tessaline modules", "ActiveDomainKey",
           REG_SZ, bytesOf(std::string(domain) + '\0'));
}

} // namespace tsen::testing
