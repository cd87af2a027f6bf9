// The library and the probe program copied into a folder laid out like an
// installed suite, <scratch>\Suite\<library folder>, and the probe run there
// in a process of its own, so the library finds its folder as it would
// after installation.
#pragma once

#include "ChildProcess.h"
#include "tests/wine/ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tsen::testing {

class InstalledSuite {
public:
  // Copies the library and the probe into <scratch>\Suite\<libraryFolder>.
  InstalledSuite(const ScratchFolder& scratch, std::string_view libraryFolder)
      : appFolder_(scratch.below("Suite")),
        libraryFolder_(appFolder_ + "\\" + std::string(libraryFolder)) {
    std::filesystem::create_directories(libraryFolder_);
    for (const char* file : {"Tessaline.Environment.dll", "tsen_wine_probe.exe"}) {
      const std::string target = libraryFolder_ + "\\" + file;
      EXPECT_TRUE(CopyFileA(besideThisProgram(file).c_str(), target.c_str(), FALSE))
          << file << ": " << GetLastError();
    }
  }

  // The suite's folder, the parent of the library's folder.
  const std::string& appFolder() const { return appFolder_; }
  const std::string& libraryFolder() const { return libraryFolder_; }

  // Writes a file below the suite's folder, making its folders.
  std::string addFile(std::string_view relativeName, std::string_view content = "x") const {
    const std::filesystem::path file = appFolder_ + "\\" + std::string(relativeName);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file.string();
  }

  // Runs the probe with the questions and answers its lines, one a question.
  std::vector<std::string> ask(const std::vector<std::string>& questions) const {
    std::string commandLine = quotedArgument(libraryFolder_ + "\\tsen_wine_probe.exe");
    for (const std::string& question : questions) {
      commandLine += " " + quotedArgument(question);
    }
    std::istringstream output(outputOf(commandLine));
    std::vector<std::string> answers;
    for (std::string line; std::getline(output, line);) {
      answers.push_back(line);
    }
    return answers;
  }
  std::string answer(const std::string& question) const {
    const auto answers = ask(std::vector<std::string>{question});
    return answers.size() == 1 ? answers.front() : "<no answer>";
  }

private:
  std::string appFolder_;
  std::string libraryFolder_;
};

} // namespace tsen::testing
