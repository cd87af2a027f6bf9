// Scratch folders, whole files, child processes, a registry file per test.
#pragma once

#include "platform/Platform.h"
#include "platform/common/RegistryTree.h"
#include "testsupport/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
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

inline void writeWhole(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Whether work(child) returned true in each of `count` child processes.
template <class Work> bool inChildProcesses(int count, Work work) {
  std::vector<pid_t> children;
  for (int child = 0; child < count; ++child) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::_exit(work(child) ? 0 : 1);
    }
    children.push_back(pid);
  }
  return std::ranges::count_if(children, [](pid_t pid) {
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
  void SetUp() override { useRegistryFile(folder_ / "registry.reg"); }
  void useRegistryFile(const std::string& path) {
    registryPath_ = path;
    ::setenv("TSEN_REGISTRY", path.c_str(), 1);
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
  std::string fileText() const { return readWhole(registryPath_); }

  ScratchFolder folder_;
  std::string registryPath_;
};

} // namespace tsen::platform::testing
