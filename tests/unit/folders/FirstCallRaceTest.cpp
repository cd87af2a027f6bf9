// The caches filled by many first calls at once (under ThreadSanitizer too).
#include "support/FakeSystemTest.h"

#include <array>
#include <latch>
#include <thread>

namespace tsen::testing {
namespace {

class FirstCallRaceTest : public FakeSystemTest {};

TEST_F(FirstCallRaceTest, EightFirstCallersAgree) {
  constexpr std::size_t kThreads = 8;
  installLibraryIn("D:\\Suite");
  fake::setString(kHKCU, kKernel1840, "Language", "NOR\\");
  fake::setString(kHKCU, kKernel1840, "My Tessaline Directory", "D:\\Work\\");

  struct Answers {
    std::string appPath, language, myTessaline;
  };
  std::array<Answers, kThreads> answers;
  std::latch start(kThreads);
  {
    std::vector<std::jthread> callers;
    for (Answers& mine : answers) {
      callers.emplace_back([&start, &mine] {
        start.arrive_and_wait();
        mine.appPath = TsEnGetAppPath();
        mine.language = TsEnGetLanguageCode();
        mine.myTessaline = TsEnGetMyTessalinePath();
      });
    }
  }
  for (const Answers& answer : answers) {
    EXPECT_EQ(answer.appPath, "D:\\Suite");
    EXPECT_EQ(answer.language, "NOR");
    EXPECT_EQ(answer.myTessaline, "D:\\Work");
  }
  fake::resetCalls();
  EXPECT_EQ(TsEnGetAppPath() + TsEnGetLanguageCode() + TsEnGetMyTessalinePath(),
            "D:\\SuiteNORD:\\Work");
  EXPECT_EQ(fake::calls().moduleFileName + fake::calls().regOpenKey, 0);
}

} // namespace
} // namespace tsen::testing
