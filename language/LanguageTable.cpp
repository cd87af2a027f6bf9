// The suite's languages: code to Windows language identifier, identifier to
// English name and country. Every other code is English.
#include "TsEnvironment.h"

#include "support/AsciiCase.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct CodeRow {
  std::string_view code;
  unsigned int id;
};

struct NameRow {
  unsigned int id;
  std::string_view name;
  std::string_view country;
};

constexpr unsigned int kEnglish = 2057;

// Searched in this order; "SVE" and "SWE" both mean Swedish.
constexpr std::array<CodeRow, 14> kCodes{{
    {"DAN", 1030},
    {"NLB", 2067},
    {"NLD", 1043},
    {"FIN", 1035},
    {"FRA", 1036},
    {"ITA", 1040},
    {"KOR", 1042},
    {"MSL", 1086},
    {"NOR", 1044},
    {"ESP", 1034},
    {"SVE", 1053},
    {"SWE", 1053},
    {"THA", 1054},
    {"VIT", 1066},
}};

constexpr std::array<NameRow, 13> kNames{{
    {1030, "Danish", "Denmark"},
    {2067, "Dutch", "Belgium"},
    {1043, "Dutch", "Netherlands"},
    {1035, "Finnish", "Finland"},
    {1036, "French", "France"},
    {1040, "Italian", "Italy"},
    {1042, "Korean", "Korea"},
    {1086, "Malay", "Malaysia"},
    {1044, "Norwegian", "Norway"},
    {1034, "Spanish", "Spain"},
    {1053, "Swedish", "Sweden"},
    {1054, "Thai", "Thailand"},
    {1066, "Vietnamese", "Vietnam"},
}};

constexpr NameRow kEnglishNames{kEnglish, "English", "England"};

const NameRow& namesOf(unsigned int id) {
  const auto found =
      std::find_if(kNames.begin(), kNames.end(), [id](const NameRow& row) { return row.id == id; });
  return found == kNames.end() ? kEnglishNames : *found;
}

} // namespace

unsigned int TsEnGetLanguageCodeID() {
  const std::string code = tsen::asciiUpperCopy(TsEnGetLanguageCode());
  const auto found = std::find_if(kCodes.begin(), kCodes.end(),
                                  [&code](const CodeRow& row) { return row.code == code; });
  return found == kCodes.end() ? kEnglish : found->id;
}

std::string TsEnGetLanguageName() {
  return std::string(namesOf(TsEnGetLanguageCodeID()).name);
}

std::string TsEnGetLanguageCountry() {
  return std::string(namesOf(TsEnGetLanguageCodeID()).country);
}
