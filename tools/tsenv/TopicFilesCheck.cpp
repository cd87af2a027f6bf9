// The topic files: "*.cfg" in the topic folder and in each domain folder
// below it, lines "topic;wiki page;help topics;help name;", split and read
// with the library's own rules.
#include "tools/tsenv/HelpCheck.h"

#include "tools/tsenv/Commands.h"

#include "help/ConfigLines.h"
#include "help/TopicLine.h"
#include "platform/Platform.h"
#include "support/AsciiCase.h"

namespace tsenv {
namespace {

namespace help = tsen::help;

bool isNumber(std::string_view text) {
  text.remove_prefix(text.starts_with('-') || text.starts_with('+') ? 1 : 0);
  return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// What one folder's files define; the first definition of each wins.
struct FolderTopics {
  std::map<long, std::string> wikiTopics;                                // topic: where
  std::map<std::pair<std::string, std::string>, std::string> helpTopics; // (help name, topic)
};

template <typename Key>
void remember(HelpCheck& check, std::map<Key, std::string>& defined, const Key& key,
              const std::string& at, const std::string& what) {
  if (const std::string* earlier = definedBefore(defined, key, at)) {
    check.problem(at, what + " is defined again: " + *earlier +
                          " wins (the first in listing order, then from the top, wins)");
  }
}

void checkLine(HelpCheck& check, const std::string& at, std::string_view line,
               FolderTopics& topics) {
  help::TopicLine fields;
  // As the wiki reads it: without a second ';' the page runs to the end.
  if (!help::splitTopicLine(line, true, fields)) {
    check.problem(at, "no ';': expected topic;wiki page;help topics;help file;");
    return;
  }
  const long topic = help::readDecimal(fields.topic);
  if (!isNumber(fields.topic)) {
    check.problem(at, "topic '" + std::string(fields.topic) + "' is not a number: read as " +
                          std::to_string(topic));
  }
  if (fields.page.empty()) {
    check.problem(at, "no wiki page: the line is passed over");
  }
  const auto second = line.find(';', line.find(';') + 1);
  if (second != line.npos && line.find(';', second + 1) == line.npos && second + 1 < line.size()) {
    check.problem(at, "'" + std::string(line.substr(second + 1)) +
                          "' after the page is ignored: it needs a closing ';' and a help file "
                          "name");
  }
  std::vector<std::string_view> items;
  for (std::string_view rest = fields.helpTopics; !rest.empty();) {
    items.push_back(rest.substr(0, rest.find(',')));
    rest.remove_prefix(std::min(rest.size(), items.back().size() + 1));
    if (!isNumber(items.back())) {
      check.problem(at, "help topic '" + std::string(items.back()) + "' is not a number");
    }
  }
  if (fields.helpTopics.empty() != fields.helpName.empty()) {
    check.problem(at, std::string("help ") +
                          (fields.helpName.empty() ? "topics without a help file name"
                                                   : "file without help topics") +
                          ": only the wiki uses this line");
  }
  if (!fields.topic.empty() && !fields.page.empty()) {
    remember(check, topics.wikiTopics, topic, at, "topic " + std::to_string(topic));
  }
  if (!fields.hasAllFields()) {
    return;
  }
  const std::string helpName(fields.helpName);
  check.helpFiles.emplace_back(helpName, at);
  for (const std::string_view item : items) {
    remember(check, topics.helpTopics, {tsen::asciiUpperCopy(helpName), std::string(item)}, at,
             "help topic " + std::string(item) + " of " + helpName);
    if (std::to_string(help::readDecimal(item)) == item) {
      check.requests.emplace(helpName, item);
    }
  }
}

// The files of folder, as the library lists them.
FolderTopics checkFolder(HelpCheck& check, const std::string& folder) {
  FolderTopics topics;
  std::string name;
  const auto listing = tsen::platform::openListing(folder + "\\*.cfg", name);
  for (bool more = listing != nullptr; more; more = tsen::platform::nextInListing(*listing, name)) {
    check.readLines(
        folder + "\\" + name, help::TrimAll,
        [&](const std::string& at, std::string_view text) { checkLine(check, at, text, topics); });
  }
  return topics;
}

} // namespace

std::vector<std::string> checkTopicFiles(HelpCheck& check) {
  std::error_code error;
  if (!std::filesystem::is_directory(nativePath(check.topics), error)) {
    check.note(check.shown(check.topics), "not installed: no topic has a wiki page");
    return {};
  }
  const FolderTopics common = checkFolder(check, check.topics);
  std::vector<std::string> domains;
  for (const auto& entry : std::filesystem::directory_iterator(nativePath(check.topics), error)) {
    if (!entry.is_directory(error)) {
      continue;
    }
    const std::string domain = domains.emplace_back(entry.path().filename().string());
    for (const auto& [topic, at] : checkFolder(check, check.topics + "\\" + domain).wikiTopics) {
      if (const auto overridden = common.wikiTopics.find(topic);
          overridden != common.wikiTopics.end()) {
        check.note(at, "topic " + std::to_string(topic) + " overrides " + overridden->second +
                           " while the active domain is " + domain);
      }
    }
  }
  return domains;
}

} // namespace tsenv
