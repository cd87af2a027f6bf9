// The DLL's binary interface as its users link against it: every name of
// the list is exported, nothing else is, and the exported constants hold
// their texts.
#include "folders/ChildProcess.h"
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
    library.reset(
        LoadLibraryA(tsen::testing::besideThisProgram("Tessaline.Environment.dll").c_str()));
    ASSERT_TRUE(library) << "error " << GetLastError();
  }
  tsen::platform::win32::UniqueModule library;
};

TEST_F(ExportsTest, ExactlyTheListedNamesAreExported) {
  const std::set<std::string> exported = exportDirectoryNames(library.get());
  std::vector<std::string> missing;
  std::vector<std::string> unlisted;
  std::set_difference(kListedExports.begin(), kListedExports.end(), exported.begin(),
                      exported.end(), std::back_inserter(missing));
  std::set_difference(exported.begin(), exported.end(), kListedExports.begin(),
                      kListedExports.end(), std::back_inserter(unlisted));
  EXPECT_EQ(missing, std::vector<std::string>());
  EXPECT_EQ(unlisted, std::vector<std::string>());
}

// A global std::string's exported name: its type's ABI tag is part of it.
std::string stringVariableExportName(const std::string& name) {
  return "_Z" + std::to_string(name.size()) + name + "B5cxx11";
}

TEST_F(ExportsTest, ExportedConstantsHoldTheirTexts) {
  const struct {
    const char* name;
    const char* text;
  } constants[] = {
      {"TsEnTokenAppPath", "<APPATH>"},
      {"TsEnTokenUserData", "<USERDATA>"},
      {"TsEnTokenQuarzelShared", "<QUARZELSHARED>"},
      {"TsEnRegKeyQVRConnect", "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect"},
      {"TsEnRegValueQVRConnect", "QVRConnect"},
      {"TsEnRegValueCurrentConfig", "Current Config"},
      {"TsEnRegKeyModules", "Tessaline modules"},
      {"TsEnRegValueAutoCADKey", "AutoCAD Registry Key - x64"},
      {"TsEnFolderProfile", "TessalineProfile"},
  };
  for (const auto& constant : constants) {
    const auto* exported = reinterpret_cast<const std::string*>(
        GetProcAddress(library.get(), stringVariableExportName(constant.name).c_str()));
    ASSERT_NE(exported, nullptr) << constant.name;
    EXPECT_EQ(*exported, constant.text);
  }
}

} // namespace
