// The Win32 backend's module name, local time, shell and help calls.
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>
#include <string>

namespace {

namespace platform = tsen::platform;

TEST(PlatformSystem, ModuleFileNameIsThisImagesFullName) {
  // Linked statically into this program, the backend's module is the program.
  char expected[MAX_PATH * 4] = {};
  ASSERT_NE(GetModuleFileNameA(nullptr, expected, sizeof expected), 0u);
  EXPECT_EQ(platform::moduleFileName(), expected);
}

TEST(PlatformSystem, LocalTimeRoundTrips) {
  for (const std::time_t t :
       {std::time_t{0} + 86400, std::time_t{1365152823}, std::time(nullptr)}) {
    std::tm local{};
    ASSERT_TRUE(platform::localTime(t, local)) << t;
    EXPECT_EQ(std::mktime(&local), t);
  }
}

TEST(PlatformSystem, LocalTimeRefusesTimesBeforeTheEpoch) {
  std::tm local{};
  EXPECT_FALSE(platform::localTime(-86400, local));
}

TEST(PlatformSystem, ShellOpenOfMissingFileAnswersAFailureNumber) {
  const std::intptr_t answer = platform::shellOpen("C:\\tsen-no-such-folder\\no-such-file.xyz");
  EXPECT_LE(answer, 32);
  EXPECT_GE(answer, 0);
}

TEST(PlatformSystem, HtmlHelpOfMissingFileShowsNothingTwice) {
  EXPECT_FALSE(platform::htmlHelp("C:\\tsen-no-such-folder\\help.chm", platform::kHhDisplayToc, 0));
  EXPECT_FALSE(
      platform::htmlHelp("C:\\tsen-no-such-folder\\help.chm", platform::kHhHelpContext, -7));
}

} // namespace
