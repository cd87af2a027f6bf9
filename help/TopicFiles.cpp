// The topic files below Help\WikiCfg: which wiki page and which compiled
// help topic belong to a numeric help topic. A domain's own folder is
// searched before the common folder.
#include "TsEnvironment.h"

#include "help/ConfigLines.h"
#include "support/AsciiCase.h"

#include <algorithm>
#include <iterator>

namespace tsen::help {

bool searchFolder(const std::string& folder, const FileReader& read) {
  std::string name;
  const platform::UniqueListing listing = platform::openListing(folder + "\\*.cfg", name);
  for (bool more = listing != nullptr; more; more = platform::nextInListing(*listing, name)) {
    if (read(folder + "\\" + name)) {
      return true;
    }
  }
  return false;
}

namespace {

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
auto topicFieldFilter(int topic) {
  return [topic, field = std::string()](std::string_view line) mutable {
    const std::string_view first = line.substr(0, line.find(';'));
    // Without a ';' before the comment there is no field at all.
    if (first.size() == line.size() || first.find("//") != std::string_view::npos) {
      return false;
    }
    field.clear();
    std::ranges::copy_if(first, std::back_inserter(field), keptByTrimAll);
    return !field.empty() && readDecimal(field) == topic;
  };
}

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
             topicFieldFilter(topic)) == FileSearch::found;
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
             topicFieldFilter(topic)) == FileSearch::found;
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
