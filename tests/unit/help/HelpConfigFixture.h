// Help files written into a scratch application folder, with the library
// installed there so that "<APPATH>" names it.
#pragma once

#include "support/FakeSystemTest.h"

#include "help/HelpInternal.h"

#include <string>
#include <string_view>

namespace tsen::testing {

// Every table of these tests runs with both line ends.
inline constexpr bool kLineEndings[] = {false, true};

class HelpFilesTest : public FakeSystemTest {
protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    installLibraryIn(app.library());
  }
  // Writes <app>\Help\<relative>, with CR LF line ends when crlf is set;
  // answers its path written the library's way.
  std::string writeHelp(const std::string& relative, std::string_view content,
                        bool crlf = false) const {
    std::string text;
    for (const char c : content) {
      text += crlf && c == '\n' ? "\r\n" : std::string(1, c);
    }
    return backslashed(app.write("Help/" + relative, text));
  }
  std::filesystem::path topicFolder() const { return app.path() / "Help" / "WikiCfg"; }
  static void setLanguageCode(std::string_view code) {
    fake::setString(kHKCU, kKernel1840, "Language", code);
  }

  ScratchFolder app;
};

} // namespace tsen::testing
