// The DLL's binary interface as its users link against it: exactly the names
// of exports.txt, and exported constants that hold their texts.
#include "folders/ChildProcess.h"

#include <set>
#include <string>

namespace {

const std::set<std::string> kListedExports = {
#include "ExportList.inc"
};

TEST(ExportsTest, ExactlyTheListedNamesAreExportedAndTheConstantsHoldTheirTexts) {
  const tsen::platform::win32::UniqueModule library(
      LoadLibraryA(tsen::testing::besideThisProgram("Tessaline.Environment.dll").c_str()));
  ASSERT_TRUE(library) << "error " << GetLastError();
  const auto* base = reinterpret_cast<const unsigned char*>(library.get());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
      base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
  const auto* nameOffsets = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
  std::set<std::string> exported;
  for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
    exported.emplace(reinterpret_cast<const char*>(base + nameOffsets[i]));
  }
  EXPECT_EQ(exported, kListedExports);

  // A global std::string's name carries its type's ABI tag.
  for (const auto& [name, text] :
       {std::pair{"TsEnTokenAppPath", "<APPATH>"},
        {"TsEnRegKeyQVRConnect", "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect"},
        {"TsEnRegValueAutoCADKey", "AutoCAD Registry Key - x64"},
        {"TsEnFolderProfile", "TessalineProfile"}}) {
    const std::string symbol = "_Z" + std::to_string(std::string(name).size()) + name + "B5cxx11";
    const auto* constant =
        reinterpret_cast<const std::string*>(GetProcAddress(library.get(), symbol.c_str()));
    ASSERT_NE(constant, nullptr) << name;
    EXPECT_EQ(*constant, text);
  }
}

} // namespace
