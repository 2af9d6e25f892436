#include "app/summit.h"

#include "doorways/doorwaypage.h"
#include "engines/categories.h"

namespace qs {

TSummit::TSummit(TAppFolder folder) {
  state.folder = std::move(folder);
  state.categories = BuiltinCategories();
}

void TSummit::PlugStartup(TStartup& startup) {
  startup.Add(TStartupStep::Ranking,
              [this](TAppState& s) { rankEngineList.Fill(s.rankingEngines); });
  // meta tags and doorways: the catalogue with the domains' selection; the built-in page
  // parts before the doorway settings, whose files replace them, in the lines of a block.
  startup.Add(TStartupStep::SelectDomain, [this](TAppState& s) { metaCatalogue.Load(s.folder); });
  startup.Add(TStartupStep::Prepare, [](TAppState& s) { TDoorwayPage::BuiltinBlocks(s.doorway); });
  startup.Add(TStartupStep::DoorwaySettings, [](TAppState& s) {
    for (std::string* block : {&s.doorway.header, &s.doorway.content, &s.doorway.footer})
      *block = TDoorwayPage::BlockFromFile(*block);
  });
  startup.Add(TStartupStep::ManualDatabase, [this](TAppState& s) {
    manualEngines.clear();
    manualEngines = LoadManualList(s.folder.Path(kManualListFile));
  });
  startup.Add(TStartupStep::EngineDatabase, [this](TAppState& s) {
    catalogue.languageName = s.languageName;
    catalogue.applicationTitle = s.applicationTitle;
    catalogue.Open(s.folder);
  });
  startup.Add(TStartupStep::Categories, [](TAppState& s) {
    LoadCategoryList(s.folder, s.languageName, s.categories);
  });
}

bool TSummit::Start(IDialogs& dialogs, std::function<void(const std::string&)> onCaption) {
  TStartup startup(state, dialogs);
  startup.OnCaption = std::move(onCaption);
  PlugStartup(startup);
  const bool complete = startup.Run();
  if (scheduler) scheduler->RestartAtProgramStart();
  return complete;
}

TScheduler& TSummit::AttachScheduler(TRunControl& run, TConnectionSettings& connection,
                                     IInternetConnection& internet, IDialogs& dialogs,
                                     TSchedulerPlatform platform) {
  scheduler = std::make_unique<TScheduler>(state, run, connection, internet, dialogs,
                                           std::move(platform));
  return *scheduler;
}

}  // namespace qs
