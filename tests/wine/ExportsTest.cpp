// The DLL exports exactly the names of exports.txt.
#include "folders/ChildProcess.h"

#include <set>
#include <string>

namespace {

const std::set<std::string> kListedExports = {
#include "ExportList.inc"
};

TEST(ExportsTest, ExactlyTheListedNamesAreExported) {
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
}

} // namespace
