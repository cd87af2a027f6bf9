// The topic files: "*.cfg" in the topic folder and in each domain folder
// below it, lines "topic;wiki page;help topics;help name;", split and read
// with the library's own rules.
#include "tools/tsenv/HelpCheck.h"
#include "tools/tsenv/NativePath.h"

#include "help/ConfigLines.h"
#include "help/TopicLine.h"
#include "support/AsciiCase.h"

#include <algorithm>
#include <map>

namespace tsenv {
namespace {

namespace help = tsen::help;

constexpr const char* kWinnerRule = "the first in listing order, then from the top, wins";

bool isNumber(std::string_view text) {
  text.remove_prefix(text.starts_with('-') || text.starts_with('+') ? 1 : 0);
  return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// What one folder's files define; the first definition of each wins.
struct FolderTopics {
  std::map<long, std::string> wikiTopics;                                // topic -> where
  std::map<std::pair<std::string, std::string>, std::string> helpTopics; // (help name, topic)
};

class TopicFolderCheck {
public:
  TopicFolderCheck(const HelpFolders& folders, std::vector<NamedHelpFile>& helpFiles,
                   HelpRequests& requests, Findings& findings)
      : folders_(folders), helpFiles_(helpFiles), requests_(requests), findings_(findings) {}

  // The files as the library lists them.
  FolderTopics check(const std::string& folder) {
    FolderTopics topics;
    std::string name;
    const auto listing = tsen::platform::openListing(folder + "\\*.cfg", name);
    for (bool more = listing != nullptr; more;
         more = tsen::platform::nextInListing(*listing, name)) {
      const std::string file = folder + "\\" + name;
      readHelpLines(folders_, file, help::TrimAll, findings_, [&](int line, std::string_view text) {
        checkLine(folders_.at(file, line), text, topics);
      });
    }
    return topics;
  }

private:
  void checkLine(const std::string& where, std::string_view line, FolderTopics& topics) {
    help::TopicLine fields;
    // As the wiki reads it: without a second ';' the page runs to the end.
    if (!help::splitTopicLine(line, true, fields)) {
      findings_.problem(where, "no ';': expected topic;wiki page;help topics;help file;");
      return;
    }
    const long topic = help::readDecimal(fields.topic);
    if (!isNumber(fields.topic)) {
      findings_.problem(where, "topic '" + std::string(fields.topic) +
                                   "' is not a number: read as " + std::to_string(topic));
    }
    const auto second = line.find(';', line.find(';') + 1);
    const bool closed = second == line.npos || line.find(';', second + 1) != line.npos;
    const std::string_view unclosed = closed ? std::string_view{} : line.substr(second + 1);
    if (fields.page.empty()) {
      findings_.problem(where, "no wiki page: the line is passed over");
    }
    if (!unclosed.empty()) {
      findings_.problem(where, "'" + std::string(unclosed) +
                                   "' after the page is ignored: it needs a closing ';' and a "
                                   "help file name");
    }
    std::vector<std::string_view> items;
    for (std::string_view rest = fields.helpTopics; !rest.empty();) {
      items.push_back(rest.substr(0, rest.find(',')));
      rest.remove_prefix(std::min(rest.size(), items.back().size() + 1));
    }
    for (const std::string_view item : items) {
      if (!isNumber(item)) {
        findings_.problem(where, "help topic '" + std::string(item) + "' is not a number");
      }
    }
    if (fields.helpTopics.empty() != fields.helpName.empty()) {
      const std::string missing =
          fields.helpName.empty() ? "topics without a help file name" : "file without help topics";
      findings_.problem(where, "help " + missing + ": only the wiki uses this line");
    }
    if (!fields.topic.empty() && !fields.page.empty()) {
      remember(topics.wikiTopics, topic, where, "topic " + std::to_string(topic));
    }
    if (!fields.hasAllFields()) {
      return;
    }
    const std::string helpName(fields.helpName);
    helpFiles_.push_back({helpName, where});
    for (const std::string_view item : items) {
      remember(topics.helpTopics, {tsen::asciiUpperCopy(helpName), std::string(item)}, where,
               "help topic " + std::string(item) + " of " + helpName);
      if (std::to_string(help::readDecimal(item)) == item) {
        requests_.emplace(helpName, item);
      }
    }
  }

  template <typename Key>
  void remember(std::map<Key, std::string>& defined, const Key& key, const std::string& where,
                const std::string& what) {
    const auto [earlier, isNew] = defined.emplace(key, where);
    if (!isNew) {
      findings_.problem(where, what + " is defined again: " + earlier->second + " wins (" +
                                   kWinnerRule + ")");
    }
  }

  const HelpFolders& folders_;
  std::vector<NamedHelpFile>& helpFiles_;
  HelpRequests& requests_;
  Findings& findings_;
};

} // namespace

std::vector<std::string> checkTopicFiles(const HelpFolders& folders,
                                         std::vector<NamedHelpFile>& helpFiles,
                                         HelpRequests& requests, Findings& findings) {
  std::error_code error;
  if (!std::filesystem::is_directory(nativePath(folders.topics), error)) {
    findings.note(folders.shown(folders.topics), "not installed: no topic has a wiki page");
    return {};
  }
  TopicFolderCheck check(folders, helpFiles, requests, findings);
  const FolderTopics common = check.check(folders.topics);
  std::vector<std::string> domains;
  for (const auto& entry : std::filesystem::directory_iterator(nativePath(folders.topics), error)) {
    if (!entry.is_directory(error)) {
      continue;
    }
    const std::string domain = entry.path().filename().string();
    domains.push_back(domain);
    for (const auto& [topic, where] : check.check(folders.topics + "\\" + domain).wikiTopics) {
      if (const auto overridden = common.wikiTopics.find(topic);
          overridden != common.wikiTopics.end()) {
        findings.note(where, "topic " + std::to_string(topic) + " overrides " + overridden->second +
                                 " while the active domain is " + domain);
      }
    }
  }
  return domains;
}

} // namespace tsenv
