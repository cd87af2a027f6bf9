// The installed version: its number follows the registry layout, its feature
// pack and update come from the About file's first line.
#include "TsEnvironment.h"

#include "platform/Platform.h"
#include "support/TextLines.h"
#include "version/AboutLine.h"

namespace {

tsen::FeaturePackAndUpdate readAboutFile() {
  const std::string file = TsEnBuildFilename(std::string(tsen::kAboutFile), TsEnBaseAppPath, 0);
  if (!TsEnFileExist(file, false)) {
    return {};
  }
  tsen::TextLines lines(tsen::platform::openFile(file, "rb"));
  std::string_view firstLine;
  if (!lines.next(firstLine)) {
    return {};
  }
  return tsen::parseAboutLine(firstLine);
}

} // namespace

std::string TsEnGetCurrentVersionNumber() {
  return TsEnQVRConnect() ? "19.01" : "18.40";
}

int TsEnGetCurrentVersionNumberMajor() {
  return TsEnQVRConnect() ? 19 : 18;
}

int TsEnGetCurrentVersionNumberMinor() {
  return TsEnQVRConnect() ? 1 : 40;
}

int TsEnGetCurrentVersionNumberFeaturePack() {
  return readAboutFile().featurePack;
}

int TsEnGetCurrentVersionNumberUpdate() {
  return readAboutFile().update;
}
