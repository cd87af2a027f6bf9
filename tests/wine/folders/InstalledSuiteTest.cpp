// An installed copy of the library asked from a process of its own: the
// application folder found from its real module file name, and the suite's
// files below that folder.
#include "ChildProcess.h"
#include "tests/wine/ProductKeysGuard.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace tsen::testing;

// The library copied to <suite>\<library folder> below the temporary folder,
// gone with the object, and the probe to <suite>: it loads the library
// through PATH, so the application folder comes from the library's file.
class InstalledSuite {
public:
  explicit InstalledSuite(const std::string& libraryFolder)
      : app_((std::filesystem::temp_directory_path() /
              ("tsen-suite-" + std::to_string(GetCurrentProcessId())))
                 .string()) {
    const std::string binaries = app_ + "\\" + libraryFolder;
    std::filesystem::remove_all(app_);
    std::filesystem::create_directories(binaries);
    for (const auto& [file, folder] :
         {std::pair{"Tessaline.Environment.dll", binaries}, {"tsen_wine_probe.exe", app_}}) {
      EXPECT_TRUE(CopyFileA(besideThisProgram(file).c_str(), (folder + "\\" + file).c_str(), FALSE))
          << file;
    }
    SetEnvironmentVariableA("PATH", binaries.c_str());
  }
  ~InstalledSuite() { std::filesystem::remove_all(app_, ignored_); }

  const std::string& app() const { return app_; }

  void addFile(const std::string& relative, const std::string& content = "x") const {
    const std::filesystem::path file = app_ + "\\" + relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }

  // The probe's answers, one a question.
  std::vector<std::string> ask(const std::vector<std::string>& questions) const {
    const std::string answers = app_ + "\\answers.txt";
    std::string commandLine = "\"" + app_ + "\\tsen_wine_probe.exe\" \"" + answers + "\"";
    for (const std::string& question : questions) {
      commandLine += " \"" + question + "\"";
    }
    EXPECT_EQ(exitCodeOf(startProcess(commandLine)), 0u) << commandLine;
    return linesOf(answers);
  }

private:
  std::error_code ignored_;
  std::string app_;
};

TEST(InstalledSuiteTest, OnlyAFolderNamedBinariesInAnyCaseLiesInTheApplicationFolder) {
  for (const auto& [libraryFolder, inApp] :
       {std::pair{"biNARies", true}, {"MyBinaries", false}, {"Binaries\\x64", false}}) {
    const InstalledSuite suite(libraryFolder);
    EXPECT_EQ(suite.ask({"app"}), std::vector{inApp ? suite.app() : ""}) << libraryFolder;
  }
}

TEST(InstalledSuiteTest, ResourcesVersionAndApplicationTokensComeFromTheSuitesFolder) {
  const ProductKeysGuard guard;
  ASSERT_TRUE(writeText(HKEY_CURRENT_USER, kKernel1840, "Language", "NOR"));
  const InstalledSuite suite("Binaries");
  for (const char* library : {"Road.RC.NOR.DLL", "Road.RC.Eng.DLL", "Rail.RC.Eng.DLL"}) {
    suite.addFile(std::string("Resources\\") + library);
  }
  // Read in text mode: Ctrl-Z ends the About file.
  suite.addFile("Base\\About\\1_Tessaline_Version.txt",
                std::string("Tessaline 18.40.1A\x1A\r\nx", 22));
  const std::string& app = suite.app();
  EXPECT_EQ(suite.ask({"resource=Road", "resource=Rail", "version",
                       "expand=<APPATH>\\Help\\<LANGCODE>\\x.chm", "expand=<binaries>\\x.dll"}),
            (std::vector<std::string>{app + "\\Resources\\Road.RC.NOR.DLL",
                                      app + "\\Resources\\Rail.RC.Eng.DLL", "1 1",
                                      app + "\\Help\\NOR\\x.chm", app + "\\Binaries\\x.dll"}));
}

} // namespace
