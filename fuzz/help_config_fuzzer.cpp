// The exceptions, defaults and mapping files on arbitrary bytes. Input: the
// domain (also the defaults key) up to the first line feed, the language code
// up to the second, then the file's content, written as each of the three.
#include "TsEnvironment.h"
#include "fuzz/FuzzInput.h"
#include "help/HelpInternal.h"

namespace {

using namespace tsen::fuzzing;

// The library keeps the language code once read: one code for the whole run.
const std::filesystem::path& helpFolder() {
  static const std::filesystem::path help = suiteFolder().path() / "Help";
  static const bool ready = [] {
    tsen::fake::setString(tsen::platform::kCurrentUser,
                          "SOFTWARE\\Quarzel\\Tessaline\\18.40\\Kernel Services", "Language",
                          "nor");
    return true;
  }();
  check(ready);
  return help;
}

// Text taken from one prepared line: no tab or line feed, one piece at most.
bool fromOneLine(std::string_view text) {
  return text.size() <= 1023 && text.find('\t') == std::string_view::npos &&
         text.find('\n') == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path& help = helpFolder();
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string domain(takeLine(input));
  const std::string code(takeLine(input));
  writeFile(help / "Tessaline_Wiki_Exeptions.cfg", input);
  writeFile(help / "Tessaline_Help_Defaults.cfg", input);
  writeFile(help / "Tessaline_Wiki_Help_Language_Mapping.cfg", input);

  std::string language = code;
  const int exception = tsen::help::ReadWikiException(domain, language);
  check(exception >= tsen::help::ExceptionNone && exception <= tsen::help::ExceptionUseChm);
  if (exception == tsen::help::ExceptionLanguage) {
    check(fromOneLine(language) && language.find(';') == std::string::npos);
  } else {
    check(language == code);
  }

  const std::string untouched = "\x01untouched";
  std::string value = untouched;
  tsen::help::ReadHelpDefault(domain, value);
  if (value != untouched) {
    check(!value.empty() && fromOneLine(value) && value.find(' ') == std::string::npos &&
          value.find(';') == std::string::npos);
  }

  const std::string wikiLanguage = tsen::help::ReadWikiLanguageMapping();
  check(fromOneLine(wikiLanguage) && wikiLanguage.find(' ') == std::string::npos);
  return 0;
}
