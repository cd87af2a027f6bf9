// The texts the library shares with the suite's modules.
#include "TsEnvironment.h"

const std::string TsEnTokenAppPath = "<APPATH>";
const std::string TsEnTokenAutoCAD = "<AUTOCAD>";
const std::string TsEnTokenBinaries = "<BINARIES>";
const std::string TsEnTokenCurrentConfig = "<CURRENTCONFIG>";
const std::string TsEnTokenDefaultConfig = "<DEFAULTCONFIG>";
const std::string TsEnTokenLangCode = "<LANGCODE>";
const std::string TsEnTokenLangCountry = "<LANGCOUNTRY>";
const std::string TsEnTokenLangName = "<LANGNAME>";
const std::string TsEnTokenMyTessaline = "<MYTESSALINE>";
const std::string TsEnTokenTessalineShared = "<TESSALINESHARED>";
const std::string TsEnTokenResources = "<RESOURCES>";
const std::string TsEnTokenTemp = "<TEMP>";
const std::string TsEnTokenUserData = "<USERDATA>";
const std::string TsEnTokenQuarzelShared = "<QUARZELSHARED>";
const std::string TsEnRegKeyQVRConnect = "SOFTWARE\\Quarzel\\Tessaline\\QVRConnect";
const std::string TsEnRegValueQVRConnect = "QVRConnect";
const std::string TsEnRegValueCurrentConfig = "Current Config";
const std::string TsEnRegValueLanguage = "Language";
const std::string TsEnRegKeyModules = "Tessaline modules";
const std::string TsEnRegValueActiveDomain = "ActiveDomainKey";
const std::string TsEnRegValueLastCommand = "LastCommand";
const std::string TsEnRegValueLogCommands = "LogCommands";
const std::string TsEnFolderAutoCAD = "AutoCAD";
const std::string TsEnRegValueAutoCADKey = "AutoCAD Registry Key - x64";
const std::string TsEnFolderBinaries = "Binaries";
const std::string TsEnFolderHelp = "Help";
const std::string TsEnFolderProfile = "TessalineProfile";
const std::string TsEnFolderBaseKernel = "Kernel";
