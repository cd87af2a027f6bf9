#include "session/SessionTest.h"

#include <map>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tsen::testing {
namespace {

using CommandLogProcessesTest = SessionTest;

// A pipe whose reading end is every writer's standard input: closing it
// releases them all at once.
class StartGate {
public:
  StartGate() {
    if (::pipe2(ends_, O_CLOEXEC) != 0) {
      ends_[0] = ends_[1] = -1;
    }
  }
  ~StartGate() { open(); }
  StartGate(const StartGate&) = delete;
  StartGate& operator=(const StartGate&) = delete;
  bool valid() const { return ends_[0] >= 0; }
  int readEnd() const { return ends_[0]; }
  void open() {
    for (int& end : ends_) {
      if (end >= 0) {
        ::close(end);
        end = -1;
      }
    }
  }

private:
  int ends_[2];
};

pid_t spawnWriter(const StartGate& gate, std::vector<std::string> arguments) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, gate.readEnd(), STDIN_FILENO);
  std::vector<char*> argv;
  for (auto& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  pid_t child = -1;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    child = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

TEST_F(CommandLogProcessesTest, WritersInFourProcessesAppendEveryLineWholeAndInOrder) {
  constexpr int kWriters = 4;
  constexpr int kLines = 1000;
  StartGate gate;
  ASSERT_TRUE(gate.valid());
  std::vector<pid_t> children;
  for (int writer = 0; writer < kWriters; ++writer) {
    children.push_back(
        spawnWriter(gate, {TSEN_LOG_WRITER, scratch_.library("roaming"), "Road",
                           "writer" + std::to_string(writer), std::to_string(kLines)}));
    ASSERT_GT(children.back(), 0);
  }
  gate.open();
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }

  const std::string bytes = log();
  ASSERT_TRUE(bytes.ends_with("\r\n"));
  std::map<std::string, int> nextIndex;
  for (const auto& line : logLines(bytes)) {
    const auto fields = fieldsOf(line);
    ASSERT_EQ(fields.size(), 4u) << line;
    ASSERT_TRUE(isStampPattern(fields[1])) << line;
    ASSERT_EQ(fields[2], "Road") << line;
    // Every writer's lines arrive once each, in the order it wrote them.
    ASSERT_EQ(fields[3], std::to_string(nextIndex[fields[0]]++)) << line;
  }
  ASSERT_EQ(nextIndex.size(), static_cast<std::size_t>(kWriters));
  for (const auto& [writer, count] : nextIndex) {
    EXPECT_EQ(count, kLines) << writer;
  }
}

} // namespace
} // namespace tsen::testing
