// The registry file shared by processes: cached reads, concurrent writes.
#include "RegistryFixture.h"
#include "platform/portable/RegistryStore.h"

#include <string>
#include <thread>
#include <vector>

namespace tsen::platform::testing {
namespace {

using namespace std::string_literals;
using portable::RegistryStore;

TEST_F(PortableRegistryTest, AnUnchangedFileIsParsedOnlyOnce) {
  const HKEY key = createKey("Software\\Suite");
  ASSERT_TRUE(setValue(key, "Language", kRegSz, "Eng\0"s));
  const auto parsesAfterWrite = RegistryStore::instance().parseCount();
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(queryValue(key, "Language"), (StoredValue{kRegSz, "Eng\0"s}));
  }
  EXPECT_EQ(RegistryStore::instance().parseCount(), parsesAfterWrite);

  // Another program rewrites the file: the next read sees it, once.
  std::string text = fileText();
  text.replace(text.find("\"Eng\""), 5, "\"NOR\"");
  writeWhole(registryPath_, text);
  EXPECT_EQ(queryValue(key, "Language"), (StoredValue{kRegSz, "NOR\0"s}));
  EXPECT_EQ(queryValue(key, "Language"), (StoredValue{kRegSz, "NOR\0"s}));
  EXPECT_EQ(RegistryStore::instance().parseCount(), parsesAfterWrite + 1);
  EXPECT_TRUE(regCloseKey(key));
}

TEST_F(PortableRegistryTest, ProcessesWritingAtOnceLoseNothing) {
  constexpr int kWrites = 200;
  const auto valueName = [](int process, int i) {
    return concat("P", std::to_string(process), " value ", std::to_string(i));
  };
  const bool childrenSucceeded = inChildProcesses(2, [&](int process) {
    HKEY key = nullptr;
    if (!regCreateKey(kCurrentUser, "Software\\Shared", key)) {
      return false;
    }
    for (int i = 0; i < kWrites; ++i) {
      if (!setValue(key, valueName(process, i).c_str(), kRegSz, std::to_string(i) + '\0')) {
        return false;
      }
    }
    return regCloseKey(key);
  });
  ASSERT_TRUE(childrenSucceeded);

  const HKEY key = createKey("Software\\Shared");
  for (int process = 0; process < 2; ++process) {
    for (int i = 0; i < kWrites; ++i) {
      EXPECT_EQ(queryValue(key, valueName(process, i).c_str()),
                (StoredValue{kRegSz, std::to_string(i) + '\0'}))
          << valueName(process, i);
    }
  }
  EXPECT_EQ(fileText().find("[HKEY_CURRENT_USER\\Software\\Shared]"),
            fileText().rfind("[HKEY_CURRENT_USER\\Software\\Shared]"))
      << "the key is made once";
  EXPECT_TRUE(regCloseKey(key));
}

TEST_F(PortableRegistryTest, ThreadsReadAndWriteAtOnce) {
  constexpr int kThreads = 4;
  constexpr int kWrites = 25;
  std::vector<std::jthread> threads;
  for (int thread = 0; thread < kThreads; ++thread) {
    threads.emplace_back([thread] {
      const std::string path = concat("Software\\Thread ", std::to_string(thread));
      const HKEY key = createKey(path.c_str());
      for (int i = 0; i < kWrites; ++i) {
        const std::string name = concat("V", std::to_string(i));
        EXPECT_TRUE(setValue(key, name.c_str(), kRegSz, concat(path, '\0')));
        EXPECT_EQ(queryValue(key, name.c_str()), (StoredValue{kRegSz, concat(path, '\0')}));
      }
      EXPECT_TRUE(regCloseKey(key));
    });
  }
  threads.clear();
  for (int thread = 0; thread < kThreads; ++thread) {
    const std::string path = concat("Software\\Thread ", std::to_string(thread));
    const HKEY key = createKey(path.c_str());
    for (int i = 0; i < kWrites; ++i) {
      EXPECT_TRUE(queryValue(key, concat("V", std::to_string(i)).c_str())) << path << ' ' << i;
    }
    EXPECT_TRUE(regCloseKey(key));
  }
}

} // namespace
} // namespace tsen::platform::testing
