// Turns a file name written with language markers, a base folder and
// placeholder tokens into a path on this machine.
#include "TsEnvironment.h"

#include "actions/UserActions.h"
#include "expansion/TextHelpers.h"
#include "platform/Platform.h"

#include <array>
#include <string_view>

namespace {

using Replacement = std::string (*)();

struct Token {
  const std::string& text;
  Replacement replacement;
};

const std::string kTokenAppPathLong = "<APPPATH>";

std::string appPathWith(std::string_view folder) {
  return TsEnGetAppPath() + std::string(folder);
}

// Handled in this order; a replacement is searched by the tokens after it.
const std::array<Token, 12> kLeadingTokens{{
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
}};

const std::array<Token, 2> kTrailingTokens{{
    {TsEnTokenQuarzelShared, TsEnGetQuarzelSharedPath},
    {TsEnTokenTessalineShared, TsEnGetTessalineSharedPath},
}};

// The working name and its upper-cased search copy, position for position.
class Expansion {
public:
  explicit Expansion(const std::string& name) : working_(name) {}

  std::string& working() { return working_; }

  void makeSearchCopy() { search_ = tsen::UpperCaseCopy(working_); }

  bool mayHoldTokens() const { return search_.find('<') != std::string::npos; }

  std::size_t find(const std::string& token) const { return search_.find(token); }

  // Replaces the first occurrence of each token, asking for its text only
  // when the token is there.
  void replaceTokens(const Token* begin, const Token* end) {
    for (const Token* token = begin; token != end; ++token) {
      const std::size_t at = search_.find(token->text);
      if (at != std::string::npos) {
        replaceAt(at, token->text.size(), token->replacement());
      }
    }
  }

  // Replaces length characters at position at in the working name; the search
  // copy follows, as if it were made again from the whole name.
  void replaceAt(std::size_t at, std::size_t length, const std::string& text) {
    working_.replace(at, length, text);
    search_.replace(at, length, tsen::UpperCaseCopy(text));
  }

private:
  std::string working_;
  std::string search_;
};

void insertLanguageAtMarker(std::string& name) {
  const std::string code = TsEnGetLanguageCode();
  if (const auto marker = name.find("@@"); marker != std::string::npos) {
    name.replace(marker, 2, code);
  }
}

void insertLanguageSubfolder(std::string& name) {
  std::string folder = TsEnGetLanguageCode();
  if (folder.empty()) {
    folder = "LANGUAGE CODE MISSING";
  }
  folder += '\\';
  // The first character is never taken as the backslash to insert behind.
  const auto backslash = name.rfind('\\');
  const std::size_t at = (backslash == std::string::npos || backslash == 0) ? 0 : backslash + 1;
  name.insert(at, folder);
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

// "<DEFAULTCONFIG>": the current configuration when that variant exists,
// else "Default" when that one does; else the user is told and the current
// configuration stays. Answers true when the expansion is complete.
bool expandDefaultConfig(Expansion& expansion, std::size_t at) {
  const std::size_t length = TsEnTokenDefaultConfig.size();
  std::string fallback = expansion.working();
  expansion.replaceAt(at, length, TsEnGetCurrentConfig());
  if (TsEnFileExist(expansion.working(), false)) {
    return true;
  }
  fallback.replace(at, length, "Default");
  if (TsEnFileExist(fallback, false)) {
    expansion.working() = std::move(fallback);
    return true;
  }
  tsen::showMessage(
      tsen::FormatText("Unable to find the file/directory \"%s\" !\nThere is no default "
                       "file/directory available either (%s).",
                       expansion.working().c_str(), fallback.c_str()),
      "Tessaline", tsen::platform::kMbOk | tsen::platform::kMbIconWarning);
  return false;
}

} // namespace

std::string TsEnBuildFilename(const std::string& name, int baseFolder, int flags) {
  Expansion expansion(name);
  if ((flags & TsEnLangAtMarker) != 0) {
    insertLanguageAtMarker(expansion.working());
  }
  if ((flags & TsEnLangSubfolder) != 0) {
    insertLanguageSubfolder(expansion.working());
  }
  expansion.working().insert(0, baseFolderPrefix(baseFolder));

  expansion.makeSearchCopy();
  // Every token begins with "<": a name without one is complete.
  if (!expansion.mayHoldTokens()) {
    return std::move(expansion.working());
  }
  expansion.replaceTokens(kLeadingTokens.data(), kLeadingTokens.data() + kLeadingTokens.size());
  if (const auto at = expansion.find(TsEnTokenDefaultConfig); at != std::string::npos) {
    if (expandDefaultConfig(expansion, at)) {
      return std::move(expansion.working());
    }
  }
  expansion.replaceTokens(kTrailingTokens.data(), kTrailingTokens.data() + kTrailingTokens.size());
  return std::move(expansion.working());
}
