// The parent of the program's folder, Binaries: the application folder.
// Users take the product keys lock in CTest.
#pragma once

#include "tests/wine/ProductKeysGuard.h"

#include <cstdio>
#include <filesystem>

namespace tsen::testing {

class HelpAppFolder {
public:
  HelpAppFolder() {
    path_.resize(GetModuleFileNameA(nullptr, path_.data(), MAX_PATH * 4));
    path_.erase(path_.rfind('\\'));
    path_.erase(path_.rfind('\\'));
    std::filesystem::remove_all(path_ + "\\Help", ignored_);
  }
  ~HelpAppFolder() { std::filesystem::remove_all(path_ + "\\Help", ignored_); }

  const std::string& path() const { return path_; }
  std::string help(std::string_view relative) const {
    return path_ + "\\Help\\" + std::string(relative);
  }
  // Through the ANSI calls, so names' bytes above 0x7F reach the disk as the
  // library looks for them.
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
