// The help settings of the Kernel Services key and their fixed texts.
#pragma once

#include <string>
#include <string_view>

namespace tsen::help {

inline constexpr const char* kUseChmHelp = "Use CHM Help";
inline constexpr const char* kHelpLanguageCode = "Help LanguageCode";
inline constexpr const char* kHelpBaseUrl = "Help BaseUrl";
inline constexpr const char* kHelpPlatform = "Help Platform";

// The maker's help wiki: scheme and host, no trailing "/". Set by the build.
extern const std::string_view kDefaultBaseUrl;
inline constexpr std::string_view kDefaultPlatform = "ts";
inline constexpr std::string_view kDefaultWikiLanguage = "en";
inline constexpr std::string_view kStartPage = "start";

// The wiki platform: "Help Platform" of the user's Kernel Services key, or of
// the machine's for a user without that key; kDefaultPlatform when not set.
// fromMachine, when given, tells whether the machine's key was the one read.
std::string ReadWikiPlatform(bool* fromMachine = nullptr);

} // namespace tsen::help
