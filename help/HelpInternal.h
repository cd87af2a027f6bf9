// The help subsystem's internal operations: the configuration and topic file
// readers, and the steps behind the exported help functions.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tsen::help {

enum WikiException : int {
  ExceptionNone = 0,     // the caller's language stays as it was
  ExceptionLanguage = 1, // the caller's language was replaced by the file's
  ExceptionUseChm = 2,   // compiled help is to be used
};

// Whether compiled help or another wiki language serves domain in language.
int ReadWikiException(const std::string& domain, std::string& language);
// The defaults file's value for key (a domain: its compiled help name);
// value is written only when one is found.
void ReadHelpDefault(const std::string& key, std::string& value);
// The wiki language of the current language code: the mapping file's, "en"
// when no line maps it, empty when there is no mapping file.
std::string ReadWikiLanguageMapping();

// Hands each "*.cfg" of folder to read, in the order the listing gives them,
// until one answers true; whether one did.
using FileReader = std::function<bool(const std::string& path)>;
bool searchFolder(const std::string& folder, const FileReader& read);

std::string FindWikiPage(int topic);
std::string FindWikiPageForHelp(int topic, const std::string& helpName);
bool FindCompiledHelpTopic(int topic, int& helpTopic, std::string& helpName);
bool ReadWikiPageFromFile(int topic, const std::string& path, std::string& page);
bool ReadHelpPageFromFile(int topic, const std::string& helpName, const std::string& path,
                          std::string& page);
bool ReadCompiledTopicFromFile(int topic, int& helpTopic, std::string& helpName,
                               const std::string& path);

void ShowCompiledHelp(int topic, const std::string& helpName);
void LaunchWikiPage(const std::string& page, const std::string& language);
// The language a wiki page of domain opens in: the exceptions file's when it
// names one, empty to let the launch pick it; nothing when the domain is to
// use compiled help. Without exceptions the launch picks.
std::optional<std::string> WikiLanguageOf(const std::string& domain, bool useExceptions);

} // namespace tsen::help
