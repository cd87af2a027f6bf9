// The floors the library is measured against, on the host and under Wine
// alike: registry values read with bare platform calls, and a wiki help
// request done plainly on help files written here.
#pragma once

#include "platform/Platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace tsen::bench {

constexpr const char* kFlagKey = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";
constexpr const char* kKernel = "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services";

using BareKey = std::unique_ptr<HKEY__, bool (*)(HKEY)>;

// A key below HKEY_CURRENT_USER; null when missing.
inline BareKey bareOpen(const std::string& path) {
  HKEY key = nullptr;
  platform::regOpenKey(platform::kCurrentUser, path.c_str(), key);
  return BareKey(key, platform::regCloseKey);
}

// A 32-bit number; -1 when unread.
inline std::int32_t bareQueryNumber(HKEY key, const char* name) {
  std::int32_t number = 0;
  std::uint32_t size = sizeof number;
  return key != nullptr && platform::regQueryValue(key, name, nullptr, &number, size) ? number : -1;
}

// The size, then the text; the text up to its first NUL.
inline std::string bareQueryText(HKEY key, const char* name) {
  std::uint32_t size = 0;
  std::string text;
  if (key != nullptr && platform::regQueryValue(key, name, nullptr, nullptr, size)) {
    text.resize(size);
    platform::regQueryValue(key, name, nullptr, text.data(), size);
    text.resize(std::min<std::size_t>(size, text.find('\0')));
  }
  return text;
}

inline std::int32_t bareReadNumber(const char* key, const char* name) {
  return bareQueryNumber(bareOpen(key).get(), name);
}

inline std::string bareReadText(const char* key, const char* name) {
  return bareQueryText(bareOpen(key).get(), name);
}

// The product key root of the layout that the connection flag selects.
inline std::string bareProductRoot() {
  return bareReadNumber(kFlagKey, "QVRConnect") == 1
             ? "SOFTWARE\\Quarzel\\Tessaline\\19.01\\RA_Zora"
             : "SOFTWARE\\Quarzel\\Tessaline\\18.40";
}

constexpr int kWikiTopic = 140; // on the last line of the topic file
// The end of the address opened for kWikiTopic with the language NOR and the
// help platform "civil".
constexpr const char* kWikiAddressEnd = "/doku.php/nb:civil:roads:page40";

struct WikiFiles {
  std::string topics, mapping;
};

// Writes, below the application folder app, the files the request reads.
inline WikiFiles writeWikiHelpFiles(const std::filesystem::path& app) {
  const WikiFiles files{(app / "Help/WikiCfg/topics.cfg").string(),
                        (app / "Help/Tessaline_Wiki_Help_Language_Mapping.cfg").string()};
  std::filesystem::create_directories(app / "Help/WikiCfg");
  std::ofstream topics(files.topics);
  topics << "// topic;wiki page;compiled help topics;help file\n";
  for (int line = 1; line <= 40; ++line) {
    topics << 100 + line << ";roads:page" << line << ";" << 2000 + line << ";roadhelp;\n";
  }
  std::ofstream(files.mapping) << "DAN=da\nFIN=fi\nNOR=nb\nSVE=sv\n";
  return files;
}

// The first line of the file at path that starts with prefix, prefix removed.
inline std::string lineAfter(const std::string& path, const std::string& prefix) {
  std::string found;
  if (std::FILE* file = std::fopen(path.c_str(), "r")) {
    char line[1024];
    while (std::fgets(line, sizeof line, file) != nullptr) {
      if (std::strncmp(line, prefix.c_str(), prefix.size()) == 0) {
        found = line + prefix.size();
        break;
      }
    }
    std::fclose(file);
  }
  return found;
}

// The request for kWikiTopic done plainly: each registry value the library
// reads read once, the known files opened by name, the address joined and
// handed to the shell. code is the language code.
[[gnu::noinline]] inline void wikiHelpByHand(const WikiFiles& files, const std::string& code) {
  const std::string root = bareProductRoot();
  // The active domain is read as the library reads it; no file here names it.
  bareReadText((root + "\\Tessaline modules").c_str(), "ActiveDomainKey");
  const BareKey kernel = bareOpen(root + "\\Kernel Services");
  if (bareQueryNumber(kernel.get(), "Use CHM Help") == 1) {
    return; // compiled help, which this installation does not ask for
  }
  std::string language = bareQueryText(kernel.get(), "Help LanguageCode");
  const std::string base = bareQueryText(kernel.get(), "Help BaseUrl");
  const std::string platformName = bareQueryText(kernel.get(), "Help Platform");
  std::string page = lineAfter(files.topics, std::to_string(kWikiTopic) + ";");
  page.resize(std::min(page.size(), page.find(';')));
  if (language.empty()) {
    language = lineAfter(files.mapping, code + "=");
    language.resize(std::min(language.size(), language.find('\n')));
  }
  platform::shellOpen(base + "/doku.php/" + language + ":" + platformName + ":" + page);
}

} // namespace tsen::bench
