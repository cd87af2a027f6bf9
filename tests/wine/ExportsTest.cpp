// The DLL's binary interface as its users link against it: every name of
// the list is exported, nothing else is, and the exported constants hold
// their texts.
#include "platform/win32/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::set<std::string> kListedExports = {
#include "ExportList.inc"
};

std::string programFolder() {
  std::string name(MAX_PATH * 4, '\0');
  name.resize(GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size())));
  return name.substr(0, name.find_last_of('\\'));
}

// The names in the export directory of a loaded image.
std::set<std::string> exportDirectoryNames(HMODULE module) {
  const auto* base = reinterpret_cast<const unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::set<std::string> names;
  if (entry.VirtualAddress == 0) {
    return names;
  }
  const auto* directory =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
  for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
    names.emplace(reinterpret_cast<const char*>(base + nameOffsets[i]));
  }
  return names;
}

class ExportsTest : public ::testing::Test {
protected:
  void SetUp() override {
    library.reset(LoadLibraryA((programFolder() + "\\Tessaline.Environment.dll").c_str()));
    ASSERT_TRUE(library) << "error " << GetLastError();
  }
  tsen::platform::win32::UniqueModule library;
};

TEST_F(ExportsTest, EveryListedNameIsExportedAsWritten) {
  std::vector<std::string> missing;
  for (const std::string& name : kListedExports) {
    if (!GetProcAddress(library.get(), name.c_str())) {
      missing.push_back(name);
    }
  }
  EXPECT_EQ(missing, std::vector<std::string>());
}

TEST_F(ExportsTest, NothingUnlistedIsExported) {
  const std::set<std::string> exported = exportDirectoryNames(library.get());
  ASSERT_FALSE(exported.empty());
  std::vector<std::string> unlisted;
  std::set_difference(exported.begin(), exported.end(), kListedExports.begin(),
                      kListedExports.end(), std::back_inserter(unlisted));
  EXPECT_EQ(unlisted, std::vector<std::string>());
}

struct ExportedText {
  const char* name;
  const char* text;
};

class ExportedConstantsTest : public ExportsTest,
                              public ::testing::WithParamInterface<ExportedText> {};

// A global std::string's exported name: its type's ABI tag is part of it.
std::string stringVariableExportName(const std::string& name) {
  return "_Z" + std::to_string(name.size()) + name + "B5cxx11";
}

TEST_P(ExportedConstantsTest, ConstantHoldsItsText) {
  const auto* constant = reinterpret_cast<const std::string*>(
      GetProcAddress(library.get(), stringVariableExportName(GetParam().name).c_str()));
  ASSERT_NE(constant, nullptr);
  EXPECT_EQ(*constant, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Constants, ExportedConstantsTest,
    ::testing::Values(ExportedText{"TsEnTokenAppPath", "<APPATH>"},
                      ExportedText{"TsEnTokenUserData", "<USERDATA>"},
                      ExportedText{"TsEnTokenQuarzelShared", "<QUARZELSHARED>"},
                      ExportedText{"TsEnRegKeyQVRConnect",
                                   "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect"},
                      ExportedText{"TsEnRegValueQVRConnect", "QVRConnect"},
                      ExportedText{"TsEnRegValueCurrentConfig", "Current Config"},
                      ExportedText{"TsEnRegKeyModules", "Tessaline modules"},
                      ExportedText{"TsEnRegValueAutoCADKey", "AutoCAD Registry Key - x64"},
                      ExportedText{"TsEnFolderProfile", "TessalineProfile"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
