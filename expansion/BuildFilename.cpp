// Turns a file name written with language markers, a base folder and
// placeholder tokens into a path on this machine.
#include "TsEnvironment.h"

#include "actions/UserActions.h"
#include "platform/Platform.h"
#include "support/AsciiCase.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct Token {
  const std::string& text;
  std::string (*replacement)();
};

const std::string kTokenAppPathLong = "<APPPATH>";

std::string appPathWith(std::string_view folder) {
  return TsEnGetAppPath() + std::string(folder);
}

// Handled in this order; a replacement is searched by the tokens after it.
// "<DEFAULTCONFIG>" gets the current configuration, then the fallback below.
const std::array<Token, 15> kTokens{{
    {TsEnTokenAppPath, TsEnGetAppPath},
    {kTokenAppPathLong, TsEnGetAppPath},
    {TsEnTokenBinaries, [] { return appPathWith("\\Binaries"); }},
    {TsEnTokenMyTessaline, TsEnGetMyTessalinePath},
    {TsEnTokenResources, [] { return appPathWith("\\Resources"); }},
    {TsEnTokenUserData, TsEnGetUserDataPath},
    {TsEnTokenAutoCAD, [] { return appPathWith("\\AutoCAD"); }},
    {TsEnTokenTemp, TsEnGetTempPath},
    {TsEnTokenLangCode, TsEnGetLanguageCode},
    {TsEnTokenLangName, TsEnGetLanguageName},
    {TsEnTokenLangCountry, TsEnGetLanguageCountry},
    {TsEnTokenCurrentConfig, TsEnGetCurrentConfig},
    {TsEnTokenDefaultConfig, TsEnGetCurrentConfig},
    {TsEnTokenQuarzelShared, TsEnGetQuarzelSharedPath},
    {TsEnTokenTessalineShared, TsEnGetTessalineSharedPath},
}};

// Tokens are found in any case: the ASCII letters and the Latin-1 letters ä,
// å, æ, ö and ø, whose capitals lie 0x20 below them, are upper-cased.
std::string upperCaseCopy(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0xE4 && byte <= 0xE6) || byte == 0xF6 || byte == 0xF8
               ? static_cast<char>(byte - 0x20)
               : tsen::asciiUpper(c);
  });
  return text;
}

std::string baseFolderPrefix(int baseFolder) {
  switch (baseFolder) {
  case TsEnBaseAppPath:
    return TsEnGetAppPath() + "\\";
  case TsEnBaseUserData:
    return TsEnGetUserDataPath() + "\\";
  case TsEnBaseResources:
    return appPathWith("\\Resources\\");
  case TsEnBaseBinaries:
    return appPathWith("\\Binaries\\");
  case TsEnBaseAutoCAD:
    return appPathWith("\\AutoCAD\\");
  case TsEnBaseTemp:
    return TsEnGetTempPath() + "\\";
  default:
    return {};
  }
}

// With the current configuration in place of "<DEFAULTCONFIG>" at at: true
// when that variant exists, or when "Default" does (then taken); else the
// user is told and the current configuration stays.
bool defaultConfigFound(std::string& working, std::string fallback, std::size_t at) {
  if (TsEnFileExist(working, false)) {
    return true;
  }
  fallback.replace(at, TsEnTokenDefaultConfig.size(), "Default");
  if (TsEnFileExist(fallback, false)) {
    working = std::move(fallback);
    return true;
  }
  // Cut where the message's buffer of 1024 characters ends.
  const std::string message = "Unable to find the file/directory \"" +
                              std::string(working.c_str()) +
                              "\" !\nThere is no default file/directory available either (" +
                              std::string(fallback.c_str()) + ").";
  tsen::showMessage(message.substr(0, 1023), "Tessaline",
                    tsen::platform::kMbOk | tsen::platform::kMbIconWarning);
  return false;
}

} // namespace

std::string TsEnBuildFilename(const std::string& name, int baseFolder, int flags) {
  std::string working = name;
  if ((flags & TsEnLangAtMarker) != 0) {
    const std::string code = TsEnGetLanguageCode();
    if (const auto marker = working.find("@@"); marker != std::string::npos) {
      working.replace(marker, 2, code);
    }
  }
  if ((flags & TsEnLangSubfolder) != 0) {
    const std::string code = TsEnGetLanguageCode();
    // The first character is never taken as the backslash to insert behind.
    const auto backslash = working.rfind('\\');
    working.insert(backslash == std::string::npos || backslash == 0 ? 0 : backslash + 1,
                   (code.empty() ? "LANGUAGE CODE MISSING" : code) + "\\");
  }
  working.insert(0, baseFolderPrefix(baseFolder));

  // The upper-cased search copy, position for position with the working name.
  std::string search = upperCaseCopy(working);
  if (search.find('<') == std::string::npos) {
    return working; // every token begins with "<"
  }
  for (const Token& token : kTokens) {
    const std::size_t at = search.find(token.text);
    if (at == std::string::npos) {
      continue;
    }
    const bool isDefaultConfig = &token.text == &TsEnTokenDefaultConfig;
    std::string before = isDefaultConfig ? working : std::string();
    const std::string text = token.replacement();
    working.replace(at, token.text.size(), text);
    search.replace(at, token.text.size(), upperCaseCopy(text));
    if (isDefaultConfig && defaultConfigFound(working, std::move(before), at)) {
      break;
    }
  }
  return working;
}
