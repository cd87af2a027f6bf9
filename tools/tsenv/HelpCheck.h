// help-check: the installed help configuration, read line by line with the
// library's own reading, and what would make help go wrong.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tsenv {

struct HelpCheck {
  // The installation's folders, as the library names them.
  std::string app;
  std::string help;
  std::string topics;

  // What the files name: help files (name, "file:line" naming it), domains
  // (folded) and help requests (help name, topic).
  std::vector<std::pair<std::string, std::string>> helpFiles{};
  std::set<std::string> domains{};
  std::set<std::pair<std::string, std::string>> requests{};

  // The findings, each reported once.
  std::vector<std::string> findings{};
  std::set<std::string> reported{};
  int notes = 0;

  void problem(const std::string& where, const std::string& what);
  void note(const std::string& where, const std::string& what);
  // path below the application folder, as the host writes it; with ":line".
  std::string shown(const std::string& path) const;
  std::string at(const std::string& file, int line) const;

  // Hands each line of file as the library reads it (pieces of at most 1023
  // characters, prepared with mode: tsen::help::TrimBoth or TrimAll) to
  // examine with its place; empty lines are passed over, a longer line is
  // reported. False when the file does not open.
  bool readLines(const std::string& file, int mode,
                 const std::function<void(const std::string& at, std::string_view text)>& examine);
};

// Remembers where key is first defined; answers that place when key was
// defined before.
template <class Key>
const std::string* definedBefore(std::map<Key, std::string>& defined, const Key& key,
                                 const std::string& at) {
  const auto [entry, isNew] = defined.emplace(key, at);
  return isNew ? nullptr : &entry->second;
}

// The exceptions, defaults and language mapping files.
void checkConfigFiles(HelpCheck& check);
// Every topic file of the topic folder and its domain folders; answers the
// domain folders found.
std::vector<std::string> checkTopicFiles(HelpCheck& check);

} // namespace tsenv
