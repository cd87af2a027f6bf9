// A registry file of its own per test, whole files and child processes.
#pragma once

#include "platform/Platform.h"
#include "platform/common/RegistryTree.h"
#include "testsupport/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace tsen::platform::testing {

using testsupport::ScratchFolder;

inline std::string readWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Whether work(child) returned true in each of `count` child processes.
template <class Work> bool inChildProcesses(int count, Work work) {
  std::vector<pid_t> children;
  for (int child = 0; child < count; ++child) {
    if (const pid_t pid = ::fork(); pid == 0) {
      ::_exit(work(child) ? 0 : 1);
    } else {
      children.push_back(pid);
    }
  }
  return std::ranges::count_if(children, [](pid_t pid) { // every child waited for
           int status = 0;
           return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                  WEXITSTATUS(status) == 0;
         }) == count;
}

// Each character of ASCII text as a UTF-16LE unit.
inline std::string utf16(std::string_view text) {
  std::string bytes;
  for (const char c : text) {
    bytes += std::string{c, '\0'};
  }
  return bytes;
}

class PortableRegistryTest : public ::testing::Test {
protected:
  void SetUp() override { useRegistryFile("registry.reg"); }
  // The file name in the test's folder, with bytes written to it if given.
  void useRegistryFile(const std::string& name, std::optional<std::string> bytes = {}) {
    registryPath_ = folder_ / name;
    ::setenv("TSEN_REGISTRY", registryPath_.c_str(), 1);
    if (bytes) {
      folder_.write(name, *bytes);
    }
  }
  // Below HKEY_CURRENT_USER; the handle is left open.
  static HKEY createKey(const std::string& path) {
    HKEY key = nullptr;
    EXPECT_TRUE(regCreateKey(kCurrentUser, path.c_str(), key)) << path;
    return key;
  }
  static bool setValue(HKEY key, const std::string& name, std::uint32_t type,
                       const std::string& data) {
    return regSetValue(key, name.c_str(), type, data.data(),
                       static_cast<std::uint32_t>(data.size()));
  }
  static std::optional<RegistryValue> queryValue(HKEY key, const std::string& name) {
    std::uint32_t type = 0, size = 4096;
    std::string data(size, '\0');
    if (!regQueryValue(key, name.c_str(), &type, data.data(), size)) {
      return std::nullopt;
    }
    return RegistryValue{type, data.substr(0, size)};
  }

  ScratchFolder folder_;
  std::string registryPath_;
};

} // namespace tsen::platform::testing
