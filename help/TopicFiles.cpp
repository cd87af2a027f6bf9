// The topic files below Help\WikiCfg: which wiki page and which compiled
// help topic belong to a numeric help topic. A domain's own folder is
// searched before the common folder.
#include "TsEnvironment.h"

#include "help/ConfigLines.h"
#include "help/TopicLine.h"
#include "support/AsciiCase.h"

#include <functional>

namespace tsen::help {
namespace {

using FileReader = std::function<bool(const std::string& path)>;

// Hands each "*.cfg" of folder to read, in the order the listing gives them,
// until one answers found.
bool searchFolder(const std::string& folder, const FileReader& read) {
  std::string name;
  platform::UniqueListing listing = platform::openListing(folder + "\\*.cfg", name);
  if (!listing) {
    return false;
  }
  do {
    if (read(folder + "\\" + name)) {
      return true;
    }
  } while (platform::nextInListing(*listing, name));
  return false;
}

// The active domain's folder first, then the common folder.
bool searchDomainThenCommon(const FileReader& read) {
  const std::string folder = topicFolder();
  const std::string domain = getActiveTessalineDomain();
  if (!domain.empty() && searchFolder(folder + "\\" + domain, read)) {
    return true;
  }
  return searchFolder(folder, read);
}

// Whether a line read from a topic file can name topic in its first field:
// the field as the prepared line would hold it (comment cut, blanks, tabs and
// line feeds gone), read without preparing the whole line.
class TopicFieldFilter {
public:
  explicit TopicFieldFilter(int topic) : topic_(topic) {}

  bool operator()(std::string_view line) {
    field_.clear();
    for (std::size_t at = 0; at < line.size(); ++at) {
      const char c = line[at];
      if (c == ';') {
        return !field_.empty() && readDecimal(field_) == topic_;
      }
      if (c == '/' && at + 1 < line.size() && line[at + 1] == '/') {
        return false; // the comment takes the rest: no field at all
      }
      if (c != ' ' && c != '\t' && c != '\n') {
        field_ += c;
      }
    }
    return false;
  }

private:
  int topic_;
  std::string field_;
};

// ",20,21," holds ",21," but not ",2,".
bool listHoldsTopic(std::string_view helpTopics, int topic) {
  const std::string list = "," + std::string(helpTopics) + ",";
  return list.find("," + std::to_string(topic) + ",") != std::string::npos;
}

} // namespace

bool ReadWikiPageFromFile(int topic, const std::string& path, std::string& page) {
  TopicLine fields;
  return searchConfigFile(
             path, TrimAll,
             [&](std::string_view line) {
               if (!splitTopicLine(line, true, fields) || fields.topic.empty() ||
                   fields.page.empty() || readDecimal(fields.topic) != topic) {
                 return false;
               }
               page.assign(fields.page);
               return true;
             },
             TopicFieldFilter(topic)) == FileSearch::found;
}

bool ReadHelpPageFromFile(int topic, const std::string& helpName, const std::string& path,
                          std::string& page) {
  TopicLine fields;
  return searchConfigFile(path, TrimAll, [&](std::string_view line) {
           if (!splitTopicLine(line, false, fields) || !fields.hasAllFields() ||
               !asciiEqualNoCase(fields.helpName, helpName) ||
               !listHoldsTopic(fields.helpTopics, topic)) {
             return false;
           }
           page.assign(fields.page);
           return true;
         }) == FileSearch::found;
}

bool ReadCompiledTopicFromFile(int topic, int& helpTopic, std::string& helpName,
                               const std::string& path) {
  TopicLine fields;
  return searchConfigFile(
             path, TrimAll,
             [&](std::string_view line) {
               if (!splitTopicLine(line, false, fields) || !fields.hasAllFields() ||
                   readDecimal(fields.topic) != topic) {
                 return false;
               }
               // The first number of the list; reading stops at its ",".
               helpTopic = static_cast<int>(readDecimal(fields.helpTopics));
               helpName.assign(fields.helpName);
               return true;
             },
             TopicFieldFilter(topic)) == FileSearch::found;
}

std::string FindWikiPage(int topic) {
  std::string page;
  searchDomainThenCommon(
      [&](const std::string& path) { return ReadWikiPageFromFile(topic, path, page); });
  return page;
}

std::string FindWikiPageForHelp(int topic, const std::string& helpName) {
  std::string page;
  searchDomainThenCommon(
      [&](const std::string& path) { return ReadHelpPageFromFile(topic, helpName, path, page); });
  return page;
}

bool FindCompiledHelpTopic(int topic, int& helpTopic, std::string& helpName) {
  // Compiled help is not chosen per domain: the common folder alone.
  return searchFolder(topicFolder(), [&](const std::string& path) {
    return ReadCompiledTopicFromFile(topic, helpTopic, helpName, path);
  });
}

} // namespace tsen::help
