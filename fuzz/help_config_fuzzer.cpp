// The exceptions, defaults and mapping files on arbitrary bytes. Input: the
// domain (also the defaults key) up to the first line feed, the language code
// up to the second, then the file's content, written as each of the three.
#include "fuzz/FuzzInput.h"
#include "help/HelpInternal.h"

namespace {

using namespace tsen::fuzzing;
using namespace tsen::help;

// Text taken from one prepared line: no tab or line feed, one piece at most.
bool fromOneLine(std::string_view text) {
  return text.size() <= 1023 && text.find_first_of("\t\n") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string domain(takeLine(input));
  const std::string code(takeLine(input));
  for (const char* file : {"Tessaline_Wiki_Exeptions.cfg", "Tessaline_Help_Defaults.cfg",
                           "Tessaline_Wiki_Help_Language_Mapping.cfg"}) {
    suiteFolder().write("Help/" + std::string(file), input);
  }

  std::string language = code;
  const int exception = ReadWikiException(domain, language);
  check(exception >= ExceptionNone && exception <= ExceptionUseChm);
  check(exception == ExceptionLanguage
            ? fromOneLine(language) && language.find(';') == std::string::npos
            : language == code);

  const std::string untouched = "\x01untouched";
  std::string value = untouched;
  ReadHelpDefault(domain, value);
  check(value == untouched ||
        (!value.empty() && fromOneLine(value) && value.find_first_of(" ;") == std::string::npos));

  const std::string wikiLanguage = ReadWikiLanguageMapping();
  check(fromOneLine(wikiLanguage) && wikiLanguage.find(' ') == std::string::npos);
  return 0;
}
