// Every registry test works on a registry file of its own.
#pragma once

#include "TestFiles.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tsen::platform::testing {

struct StoredValue {
  std::uint32_t type = 0;
  std::string data;
  bool operator==(const StoredValue&) const = default;
};

class PortableRegistryTest : public ::testing::Test {
protected:
  void SetUp() override { useRegistryFile(folder_ / "registry.reg"); }

  void useRegistryFile(const std::string& path) {
    registryPath_ = path;
    ::setenv("TSEN_REGISTRY", path.c_str(), 1);
  }

  // The key below HKEY_CURRENT_USER, created when missing; closed by the test.
  static HKEY createKey(const char* path) {
    HKEY key = nullptr;
    EXPECT_TRUE(regCreateKey(kCurrentUser, path, key)) << path;
    return key;
  }

  static bool setValue(HKEY key, const char* name, std::uint32_t type, const std::string& data) {
    return regSetValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
  }

  static std::optional<StoredValue> queryValue(HKEY key, const char* name) {
    std::uint32_t size = 0;
    std::uint32_t type = 0;
    if (!regQueryValue(key, name, &type, nullptr, size)) {
      return std::nullopt;
    }
    std::string data(size, '\0');
    if (!regQueryValue(key, name, &type, data.data(), size)) {
      return std::nullopt;
    }
    return StoredValue{type, data};
  }

  std::string fileText() const { return readWhole(registryPath_); }

  ScratchFolder folder_;
  std::string registryPath_;
};

} // namespace tsen::platform::testing
