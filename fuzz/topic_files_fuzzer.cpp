// The topic file readers on arbitrary bytes. Input: the topic in decimal up
// to the first line feed, the help name up to the second, then the content
// of one topic file, written both in the active domain's folder and in the
// common folder.
#include "fuzz/FuzzInput.h"
#include "help/HelpInternal.h"

#include <cstdlib>

namespace {

using namespace tsen::fuzzing;
using tsen::testsupport::backslashed;
using namespace tsen::help;

// A field of a prepared line: no blank, tab, line feed or ';', within one piece.
bool isField(std::string_view text) {
  return text.size() <= 1023 && text.find_first_of(" \t\n;") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const int topic =
      static_cast<int>(std::strtol(std::string(takeLine(input)).c_str(), nullptr, 10));
  const std::string helpName(takeLine(input));
  suiteFolder().write("Help/WikiCfg/ROAD/d.cfg", input);
  const std::string file = backslashed(suiteFolder().write("Help/WikiCfg/t.cfg", input));

  const std::string page = FindWikiPage(topic);
  check(isField(page));
  std::string direct;
  check(ReadWikiPageFromFile(topic, file, direct) == !page.empty());
  check(direct == page);
  check(isField(FindWikiPageForHelp(topic, helpName)));

  int helpTopic = -1;
  std::string compiledName;
  if (FindCompiledHelpTopic(topic, helpTopic, compiledName)) {
    // A line with all four fields for the topic serves the wiki page too.
    check(!compiledName.empty() && isField(compiledName) && !page.empty());
  } else {
    check(helpTopic == -1 && compiledName.empty());
  }
  return 0;
}
