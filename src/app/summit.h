// The program's shared state and the subsystems every window and command works with, wired
// together: the desktop program and the command line each hold one.
#pragma once

#include <memory>
#include <vector>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "app/startup.h"
#include "engines/enginecatalogue.h"
#include "engines/manuallist.h"
#include "metatags/metacatalogue.h"
#include "ranking/rankenginelist.h"
#include "schedule/scheduler.h"

namespace qs {

class TSummit {
 public:
  explicit TSummit(TAppFolder folder);

  TAppState state;
  TEngineCatalogue catalogue;
  std::vector<TManualEngine> manualEngines;
  TRankEngineList rankEngineList;  // filled from the lines of [List] at start-up
  TMetaCatalogue metaCatalogue;    // \data\metatags.czc, read once at start-up
  // The scheduler over the program's run, once attached. Attached before Start(), it is
  // restarted at the end of Start() when [Application] schedule read on.
  std::unique_ptr<TScheduler> scheduler;

  TScheduler& AttachScheduler(TRunControl& run, TConnectionSettings& connection,
                              IInternetConnection& internet, IDialogs& dialogs,
                              TSchedulerPlatform platform = {});

  // Adds the subsystems' start-up work to the sequence: the manual list, the engine tables
  // and their counts, the category list, the ranking engine list, the meta tag catalogue and
  // the doorway page parts.
  void PlugStartup(TStartup& startup);

  // Runs the whole start-up preparation; false when a step failed (shown through `dialogs`).
  // Then, whether or not every step succeeded (the window opens either way), an attached
  // scheduler is restarted when [Application] schedule read on.
  bool Start(IDialogs& dialogs, std::function<void(const std::string&)> onCaption = {});
};

}  // namespace qs
