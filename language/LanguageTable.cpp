// The suite's languages: code to Windows language identifier, identifier to
// English name and country. Every other code is English.
#include "TsEnvironment.h"

#include "support/AsciiCase.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct Language {
  std::string_view code;
  unsigned int id;
  std::string_view name, country;
};

// Searched in this order; "SVE" and "SWE" both mean Swedish.
constexpr std::array<Language, 14> kLanguages{{
    {"DAN", 1030, "Danish", "Denmark"},
    {"NLB", 2067, "Dutch", "Belgium"},
    {"NLD", 1043, "Dutch", "Netherlands"},
    {"FIN", 1035, "Finnish", "Finland"},
    {"FRA", 1036, "French", "France"},
    {"ITA", 1040, "Italian", "Italy"},
    {"KOR", 1042, "Korean", "Korea"},
    {"MSL", 1086, "Malay", "Malaysia"},
    {"NOR", 1044, "Norwegian", "Norway"},
    {"ESP", 1034, "Spanish", "Spain"},
    {"SVE", 1053, "Swedish", "Sweden"},
    {"SWE", 1053, "Swedish", "Sweden"},
    {"THA", 1054, "Thai", "Thailand"},
    {"VIT", 1066, "Vietnamese", "Vietnam"},
}};

constexpr Language kEnglish{"", 2057, "English", "England"};

const Language& currentLanguage() {
  const std::string code = tsen::asciiUpperCopy(TsEnGetLanguageCode());
  const auto found = std::find_if(kLanguages.begin(), kLanguages.end(),
                                  [&code](const Language& row) { return row.code == code; });
  return found == kLanguages.end() ? kEnglish : *found;
}

} // namespace

unsigned int TsEnGetLanguageCodeID() {
  return currentLanguage().id;
}

std::string TsEnGetLanguageName() {
  return std::string(currentLanguage().name);
}

std::string TsEnGetLanguageCountry() {
  return std::string(currentLanguage().country);
}
