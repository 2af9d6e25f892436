// The start-up preparation: the fixed sequence of steps that fills the shared state before
// the main window opens, each announced by its caption ("Loading... Domains", ...).
//
// Subsystems plug their work into the step it belongs to with Add(). A step that throws
// stops the sequence: the error is shown and the remaining steps are skipped, so the window
// opens with what was loaded before.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "store/biginifile.h"

namespace qs {

enum class TStartupStep {
  Prepare,            // version suffix, message dialog
  ApplicationFolder,  // the folder; the application icon
  LanguageFile,       // \lang.ini replaces the built-in table
  Splash,             // "Loading..."
  Domains,            // "Loading... Domains"
  Ranking,            // "Loading... Ranking"
  SelectDomain,       // sort the domains, select the first; the meta tag names
  Projects,           // "Loading... Projects"
  AboutPage,          // the About page and the number of domains
  ManualDatabase,     // "Loading... Manual Database"
  Settings,           // [Application] schedule, lang, app
  DoorwaySettings,    // "Loading... Doorway settings": [Report], [Doorway], the page parts
  UpdateDates,        // [Application] dbup, softup
  ReportSettings,     // "Loading... Report Settings": [Application] subtemplate
  EngineDatabase,     // "Loading... Search engine database"
  AboutPicture,       // the splash picture on the About page
  Categories,         // the category list from \data\catmatch.zro
};
inline constexpr size_t kStartupStepCount = 17;

class TStartup {
 public:
  using Action = std::function<void(TAppState&)>;

  TStartup(TAppState& state, IDialogs& dialogs);

  // Runs after the step's own work, in the order added.
  void Add(TStartupStep step, Action action);

  // Told each caption as it is shown on the splash window.
  std::function<void(const std::string&)> OnCaption;

  // Runs every step in order; false when a step failed (the error has been shown).
  bool Run();

  // The caption a step shows, or an empty text for steps that keep the previous one.
  static std::string StepCaption(TStartupStep step);

 private:
  void OwnWork(TStartupStep step);

  TAppState& state_;
  IDialogs& dialogs_;
  std::array<std::vector<Action>, kStartupStepCount> actions_;
  std::unique_ptr<TBiggerIniFile> settings_;  // \dfd.ini, open from Settings to EngineDatabase
};

}  // namespace qs
