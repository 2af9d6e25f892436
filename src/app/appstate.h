// The state the main window holds and every subsystem shares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/appfolder.h"
#include "app/langtable.h"
#include "projects/newproject.h"

namespace qs {

inline constexpr std::string_view kVersionSuffix = " v5.5";
inline constexpr std::string_view kProductTitle = "Quorvex Summit";

struct TReportSettings {
  int32_t border = 10;
  int32_t cellPadding = 5;
  int32_t cellSpacing = 5;
  std::string templateFile;
  bool bands = true;
};

struct TDoorwaySettings {
  int32_t border = 1;
  uint32_t borderColor = 0x00C0C0C0;
  uint32_t pageBgColor = 0;
  uint32_t tableBgColor = 0x00FFFFFF;
  int32_t cellPadding = 5;
  int32_t cellSpacing = 5;
  int32_t titleSize = 14;
  std::string titleFace = "Arial";
  uint32_t titleColor = 0x000000FF;
  int32_t bodySize = 12;
  std::string bodyFace = "Arial";
  uint32_t bodyColor = 0;
  std::string java = "OFF";
  // The three page parts; files that exist replace the built-in texts at start-up.
  std::string header, content, footer;
};

struct TAppState {
  TAppFolder folder;
  std::string versionSuffix;
  std::string applicationTitle{kProductTitle};  // becomes [Application] app + the suffix
  std::string caption;                           // the main window's caption, the same text
  std::string languageName = "english";
  bool schedulerFlag = false;
  TLanguageTable languageTable;

  std::vector<std::string> domains;
  std::vector<std::string> projects;        // of the current domain
  std::vector<std::string> rankingEngines;  // lines of [List] of \data\ranking.czc
  std::vector<std::string> categories;      // the project editor's category list
  std::string currentDomain;
  std::string currentProjectKey;

  // The wizards' new project record and the spider options, shared with the site import.
  TNewProjectRecord newProject;
  TSpiderOptions spiderOptions;

  TReportSettings report;
  TDoorwaySettings doorway;
  std::string dbUp, softUp;  // dates of the last database and software updates

};

}  // namespace qs
