// The topic files: "*.cfg" in the topic folder and in each domain folder
// below it, lines "topic;wiki page;help topics;help name;".
#include "tools/tsenv/HelpCheckParts.h"
#include "tools/tsenv/HelpFileLines.h"
#include "tools/tsenv/NativePath.h"

#include "platform/portable/TextPieces.h"
#include "support/AsciiCase.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace tsenv {

namespace {

using tsen::platform::portable::splitAt;

constexpr const char* kWinnerRule = "the first in listing order, then from the top, wins";

bool isNumber(std::string_view text) {
  text.remove_prefix(text.starts_with('-') || text.starts_with('+') ? 1 : 0);
  return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// As atol reads it: a sign and the digits up to the first other character.
long readTopic(const std::string& text) {
  return std::strtol(text.c_str(), nullptr, 10);
}

struct TopicFields {
  std::string topic;
  std::string page; // up to the next ';' or the end of the line
  std::string helpTopics;
  std::string helpName;
  std::string unclosedHelpTopics; // a third field without the ';' that ends it
};

std::optional<TopicFields> splitFields(std::string_view line) {
  const auto first = line.find(';');
  if (first == std::string_view::npos) {
    return std::nullopt;
  }
  TopicFields fields;
  fields.topic = line.substr(0, first);
  const auto second = line.find(';', first + 1);
  fields.page =
      line.substr(first + 1, second == std::string_view::npos ? second : second - first - 1);
  if (second == std::string_view::npos) {
    return fields;
  }
  const auto third = line.find(';', second + 1);
  if (third == std::string_view::npos) {
    fields.unclosedHelpTopics = line.substr(second + 1);
    return fields;
  }
  fields.helpTopics = line.substr(second + 1, third - second - 1);
  const auto fourth = line.find(';', third + 1);
  fields.helpName =
      line.substr(third + 1, fourth == std::string_view::npos ? fourth : fourth - third - 1);
  return fields;
}

// What one folder's files define; the first definition of each wins.
struct FolderTopics {
  std::map<long, std::string> wikiTopics;                                // topic -> where
  std::map<std::pair<std::string, std::string>, std::string> helpTopics; // (help name, topic)
};

class TopicFolderCheck {
public:
  TopicFolderCheck(const HelpInstallation& installation, std::vector<NamedHelpFile>& helpFiles,
                   Findings& findings)
      : installation_(installation), helpFiles_(helpFiles), findings_(findings) {}

  FolderTopics check(const std::string& folder) {
    FolderTopics topics;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(nativePath(folder), error)) {
      const std::string name = entry.path().filename().string();
      if (name.size() > 4 && tsen::asciiUpperCopy(name.substr(name.size() - 4)) == ".CFG" &&
          !entry.is_directory(error)) {
        checkFile(folder + "\\" + name, topics);
      }
    }
    return topics;
  }

private:
  void checkFile(const std::string& file, FolderTopics& topics) {
    for (const HelpLine& line :
         readHelpFile(nativePath(file), Blanks::removeAll).value_or(std::vector<HelpLine>{})) {
      const std::string where = lineWhere(installation_, file, line.number);
      if (line.firstOfLongLine) {
        findings_.problem(where, "longer than 1023 characters: read in pieces, each as a line");
      }
      if (!line.prepared.empty()) {
        checkLine(where, line.prepared, topics);
      }
    }
  }

  void checkLine(const std::string& where, std::string_view line, FolderTopics& topics) {
    const auto fields = splitFields(line);
    if (!fields) {
      findings_.problem(where, "no ';': expected topic;wiki page;help topics;help file;");
      return;
    }
    if (!isNumber(fields->topic)) {
      findings_.problem(where, "topic '" + fields->topic + "' is not a number: read as " +
                                   std::to_string(readTopic(fields->topic)));
    }
    if (fields->page.empty()) {
      findings_.problem(where, "no wiki page: the line is passed over");
    }
    if (!fields->unclosedHelpTopics.empty()) {
      findings_.problem(where, "'" + fields->unclosedHelpTopics +
                                   "' after the page is ignored: it needs a closing ';' and "
                                   "a help file name");
    }
    for (const std::string_view item : splitAt(fields->helpTopics, ',')) {
      if (!fields->helpTopics.empty() && !isNumber(item)) {
        findings_.problem(where, "help topic '" + std::string(item) + "' is not a number");
      }
    }
    if (fields->helpTopics.empty() != fields->helpName.empty()) {
      findings_.problem(where, fields->helpName.empty()
                                   ? "help topics without a help file name: only the wiki uses "
                                     "this line"
                                   : "help file without help topics: only the wiki uses this line");
    }
    if (!fields->topic.empty() && !fields->page.empty()) {
      remember(topics.wikiTopics, readTopic(fields->topic), where,
               "topic " + std::to_string(readTopic(fields->topic)));
    }
    if (fields->topic.empty() || fields->page.empty() || fields->helpTopics.empty() ||
        fields->helpName.empty()) {
      return;
    }
    helpFiles_.push_back({fields->helpName, where});
    for (const std::string_view item : splitAt(fields->helpTopics, ',')) {
      remember(topics.helpTopics, {tsen::asciiUpperCopy(fields->helpName), std::string(item)},
               where, "help topic " + std::string(item) + " of " + fields->helpName);
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

  const HelpInstallation& installation_;
  std::vector<NamedHelpFile>& helpFiles_;
  Findings& findings_;
};

std::vector<std::string> domainFolders(const std::string& topicFolder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(nativePath(topicFolder), error)) {
    if (entry.is_directory(error)) {
      names.push_back(entry.path().filename().string());
    }
  }
  return names;
}

} // namespace

std::vector<std::string> checkTopicFiles(const HelpInstallation& installation,
                                         std::vector<NamedHelpFile>& helpFiles,
                                         Findings& findings) {
  std::error_code error;
  if (!std::filesystem::is_directory(nativePath(installation.topicFolder), error)) {
    findings.note(installation.shown(installation.topicFolder),
                  "not installed: no topic has a wiki page");
    return {};
  }
  TopicFolderCheck check(installation, helpFiles, findings);
  const FolderTopics common = check.check(installation.topicFolder);
  const std::vector<std::string> domains = domainFolders(installation.topicFolder);
  for (const std::string& domain : domains) {
    for (const auto& [topic, where] :
         check.check(installation.topicFolder + "\\" + domain).wikiTopics) {
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
