// An installed copy of the library asked from a process of its own: the
// application folder found from its real module file name, and the suite's
// files that it finds on disk below that folder.
#include "ChildProcess.h"
#include "tests/wine/ProductKeysGuard.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace tsen::testing;

// The library and the probe program copied into a suite's folder below the
// temporary folder, <suite>\<library folder>; the probe, run there, answers
// through the library as it would after installation. The suite's folder
// goes with the object.
class InstalledSuite {
public:
  explicit InstalledSuite(std::string_view libraryFolder)
      : appFolder_(suiteFolder()), libraryFolder_(appFolder_ + "\\" + std::string(libraryFolder)),
        answers_(appFolder_ + "\\answers.txt") {
    std::filesystem::remove_all(appFolder_);
    std::filesystem::create_directories(libraryFolder_);
    for (const char* file : {"Tessaline.Environment.dll", "tsen_wine_probe.exe"}) {
      const std::string target = libraryFolder_ + "\\" + file;
      EXPECT_TRUE(CopyFileA(besideThisProgram(file).c_str(), target.c_str(), FALSE))
          << file << ": " << GetLastError();
    }
  }
  ~InstalledSuite() {
    std::error_code ignored;
    std::filesystem::remove_all(appFolder_, ignored);
  }
  InstalledSuite(const InstalledSuite&) = delete;
  InstalledSuite& operator=(const InstalledSuite&) = delete;

  // The suite's folder, the parent of the library's folder.
  const std::string& appFolder() const { return appFolder_; }

  // Writes a file below the suite's folder, making its folders.
  void addFile(std::string_view relativeName, std::string_view content = "x") const {
    const std::filesystem::path file = appFolder_ + "\\" + std::string(relativeName);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }

  // Runs the probe with the questions and answers its lines, one a question.
  std::vector<std::string> ask(const std::vector<std::string>& questions) const {
    std::string commandLine =
        "\"" + libraryFolder_ + "\\tsen_wine_probe.exe\" \"" + answers_ + "\"";
    for (const std::string& question : questions) {
      commandLine += " \"" + question + "\"";
    }
    EXPECT_EQ(exitCodeOf(startProcess(commandLine)), 0u) << commandLine;
    std::ifstream in(answers_, std::ios::binary);
    std::vector<std::string> answers;
    for (std::string line; std::getline(in, line);) {
      answers.push_back(line);
    }
    return answers;
  }

private:
  static std::string suiteFolder() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH + 1, temp);
    return std::string(temp) + "tsen-suite-" + std::to_string(GetCurrentProcessId());
  }

  std::string appFolder_;
  std::string libraryFolder_;
  std::string answers_;
};

TEST(InstalledSuiteTest, OnlyAFolderNamedBinariesInAnyCaseLiesInTheApplicationFolder) {
  const struct {
    const char* libraryFolder;
    bool isApplicationFolder;
  } cases[] = {{"biNARies", true}, {"MyBinaries", false}, {"Binaries\\x64", false}};
  for (const auto& c : cases) {
    const InstalledSuite suite(c.libraryFolder);
    const std::string expected = c.isApplicationFolder ? suite.appFolder() : "";
    EXPECT_EQ(suite.ask({"app"}), std::vector{expected}) << c.libraryFolder;
  }
}

TEST(InstalledSuiteTest, ResourcesVersionAndApplicationTokensComeFromTheSuitesFolder) {
  const ProductKeysGuard guard;
  ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1840, "Language", "NOR"));
  const InstalledSuite suite("Binaries");
  for (const char* library : {"Road.RC.NOR.DLL", "Road.RC.Eng.DLL", "Rail.RC.Eng.DLL"}) {
    suite.addFile(std::string("Resources\\") + library);
  }
  // Read in text mode, Ctrl-Z ends the About file.
  suite.addFile("Base\\About\\1_Tessaline_Version.txt",
                std::string("Tessaline 18.40.1A\x1A\r\nx", 22));
  const std::string& app = suite.appFolder();
  EXPECT_EQ(suite.ask({"resource=Road", "resource=Rail", "featurepack", "update",
                       "expand=<APPATH>\\Help\\<LANGCODE>\\x.chm", "expand=<binaries>\\x.dll"}),
            (std::vector<std::string>{app + "\\Resources\\Road.RC.NOR.DLL",
                                      app + "\\Resources\\Rail.RC.Eng.DLL", "1", "1",
                                      app + "\\Help\\NOR\\x.chm", app + "\\Binaries\\x.dll"}));
}

} // namespace
