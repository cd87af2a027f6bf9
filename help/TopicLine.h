// The fields of a topic file line: "topic;wiki page;help topics;help name;"
#pragma once

#include <string>
#include <string_view>

namespace tsen::help {

struct TopicLine {
  std::string_view topic;
  std::string_view page;
  std::string_view helpTopics;
  std::string_view helpName;

  bool hasAllFields() const {
    return !topic.empty() && !page.empty() && !helpTopics.empty() && !helpName.empty();
  }
};

// Splits a prepared line; false for a line without any ";". Without a ";"
// behind the page, the page runs to the end of the line when pageToEnd is
// set and is empty otherwise.
bool splitTopicLine(std::string_view line, bool pageToEnd, TopicLine& fields);

// Reads a decimal number as the C runtime's atol does on Windows: leading
// white space, a sign, digits up to the first other character, 0 without
// digits; numbers outside 32 bits saturate.
long readDecimal(std::string_view text);

} // namespace tsen::help
