// The application folder of a program built into a folder named "Binaries":
// that folder's parent. Users write help files below its "Help" folder and
// set the product keys, so they take the product keys lock in CTest.
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
  HelpAppFolder() {
    path_.resize(GetModuleFileNameA(nullptr, path_.data(), MAX_PATH * 4));
    path_.erase(path_.rfind('\\')); // the program's own folder
    path_.erase(path_.rfind('\\'));
    std::filesystem::remove_all(path_ + "\\Help", ignored_);
  }
  ~HelpAppFolder() { std::filesystem::remove_all(path_ + "\\Help", ignored_); }
  HelpAppFolder(const HelpAppFolder&) = delete;
  HelpAppFolder& operator=(const HelpAppFolder&) = delete;

  const std::string& path() const { return path_; }
  // <app>\Help\<relative>, relative written with backslashes.
  std::string help(std::string_view relative) const {
    return path_ + "\\Help\\" + std::string(relative);
  }
  // Writes <app>\Help\<relative> through the ANSI calls, so that bytes above
  // 0x7F in names reach the disk as the library looks for them; with CR LF
  // line ends when crlf is set. Answers the file's path.
  std::string writeHelp(std::string_view relative, std::string_view content,
                        bool crlf = false) const {
    const std::string file = help(relative);
    for (auto cut = file.find('\\', 3); cut != std::string::npos; cut = file.find('\\', cut + 1)) {
      CreateDirectoryA(file.substr(0, cut).c_str(), nullptr);
    }
    if (std::FILE* out = std::fopen(file.c_str(), crlf ? "w" : "wb")) {
      std::fwrite(content.data(), 1, content.size(), out);
      std::fclose(out);
    }
    return file;
  }

private:
  std::error_code ignored_;
  std::string path_ = std::string(MAX_PATH * 4, '\0');
};

// Product settings of the 18.40 layout that help requests read.
inline void setKernelString(const char* name, std::string_view value) {
  writeText(HKEY_CURRENT_USER, kKernel1840, name, value);
}
inline void setLanguageCode(std::string_view code) {
  setKernelString("Language", code);
}
inline void setActiveDomain(std::string_view domain) {
  writeText(HKEY_CURRENT_USER, std::string(kRoot1840) + "\\Tessaline modules", "ActiveDomainKey",
            domain);
}

} // namespace tsen::testing
