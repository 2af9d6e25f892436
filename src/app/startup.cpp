#include "app/startup.h"

#include <exception>

#include "app/settings.h"
#include "platform/filesystem.h"
#include "projects/domainstore.h"
#include "projects/naming.h"

namespace qs {

TStartup::TStartup(TAppState& state, IDialogs& dialogs) : state_(state), dialogs_(dialogs) {}

void TStartup::Add(TStartupStep step, Action action) {
  actions_[static_cast<size_t>(step)].push_back(std::move(action));
}

std::string TStartup::StepCaption(TStartupStep step) {
  switch (step) {
    case TStartupStep::Splash: return "Loading...";
    case TStartupStep::Domains: return "Loading... Domains";
    case TStartupStep::Ranking: return "Loading... Ranking";
    case TStartupStep::Projects: return "Loading... Projects";
    case TStartupStep::ManualDatabase: return "Loading... Manual Database";
    case TStartupStep::DoorwaySettings: return "Loading... Doorway settings";
    case TStartupStep::ReportSettings: return "Loading... Report Settings";
    case TStartupStep::EngineDatabase: return "Loading... Search engine database";
    default: return {};
  }
}

bool TStartup::Run() {
  for (size_t i = 0; i < kStartupStepCount; ++i) {
    const auto step = static_cast<TStartupStep>(i);
    try {
      if (std::string caption = StepCaption(step); !caption.empty() && OnCaption)
        OnCaption(caption);
      OwnWork(step);
      for (auto& action : actions_[i]) action(state_);
    } catch (const std::exception& e) {
      if (settings_) {
        try {
          settings_->Close();
        } catch (const std::exception&) {
          // The step's own failure is the one worth showing.
        }
        settings_.reset();
      }
      dialogs_.Message(e.what(), TMsgDlgType::Error);
      return false;
    }
  }
  return true;
}

void TStartup::OwnWork(TStartupStep step) {
  TAppState& s = state_;
  const TDomainStore store(s.folder);
  switch (step) {
    case TStartupStep::Prepare:
      s.versionSuffix = std::string(kVersionSuffix);
      RemoveStaleTemporaryFiles(s.folder);
      break;
    case TStartupStep::LanguageFile:
      LoadStartupTable(s.languageTable, s.folder);
      break;
    case TStartupStep::Domains: {
      // A line that cannot be a domain here is left out with one message; start-up goes on.
      std::vector<std::string> skipped;
      s.domains = store.ReadDomainList(&skipped);
      if (!skipped.empty())
        dialogs_.Message(SkippedLinesText(store.DomainListFile(), skipped), TMsgDlgType::Warning);
      break;
    }
    case TStartupStep::Ranking: {
      TBigIniFile ini(s.folder.Path("\\data\\ranking.czc"));
      s.rankingEngines.clear();
      ini.ReadSectionLines("List", s.rankingEngines);
      ini.Close();
      break;
    }
    case TStartupStep::SelectDomain:
      SortNames(s.domains);
      s.currentDomain = s.domains.empty() ? std::string() : s.domains.front();
      break;
    case TStartupStep::Projects:
      s.projects.clear();
      s.currentProjectKey.clear();
      if (!s.currentDomain.empty()) {
        std::vector<std::string> skipped;
        s.projects = store.ReadProjectList(s.currentDomain, &skipped);
        if (!skipped.empty())
          dialogs_.Message(SkippedLinesText(store.ProjectListFile(s.currentDomain), skipped),
                           TMsgDlgType::Warning);
        if (!s.projects.empty()) s.currentProjectKey = ProjectKeyOf(s.projects.front());
      }
      break;
    case TStartupStep::Settings: {
      settings_ = std::make_unique<TBiggerIniFile>(s.folder.Path(kSettingsFile));
      TSettings settings(*settings_, s.folder);
      s.schedulerFlag = settings.Flag(setting::kSchedule);
      s.languageName = settings.Text(setting::kLang);
      s.caption = settings.Text(setting::kApp) + s.versionSuffix;
      s.applicationTitle = s.caption;
      break;
    }
    case TStartupStep::DoorwaySettings: {
      TSettings settings(*settings_, s.folder);
      ReadReportSettings(settings, s.report);
      ReadDoorwaySettings(settings, s.doorway);
      auto& d = s.doorway;
      const std::pair<const char*, std::string*> parts[] = {
          {"\\data\\doorheader.htm", &d.header},
          {"\\data\\doorcontent.htm", &d.content},
          {"\\data\\doorfooter.htm", &d.footer},
      };
      for (auto [file, text] : parts)
        if (auto bytes = ReadFileBytes(s.folder.Path(file))) *text = std::move(*bytes);
      break;
    }
    case TStartupStep::UpdateDates: {
      TSettings settings(*settings_, s.folder);
      s.dbUp = settings.Text(setting::kDbUp);
      s.softUp = settings.Text(setting::kSoftUp);
      break;
    }
    case TStartupStep::ReportSettings: {
      TSettings settings(*settings_, s.folder);
      s.report.templateFile = settings_->ReadText(setting::kSubTemplate.section,
                                                  setting::kSubTemplate.key, "");
      if (s.report.templateFile.empty())
        s.report.templateFile = settings.DefaultText(setting::kSubTemplate);
      break;
    }
    case TStartupStep::EngineDatabase:
      settings_->Close();
      settings_.reset();
      break;
    case TStartupStep::ApplicationFolder:
    case TStartupStep::Splash:
    case TStartupStep::AboutPage:
    case TStartupStep::ManualDatabase:
    case TStartupStep::AboutPicture:
    case TStartupStep::Categories:
      // The windows and the engine catalogue plug their work in here.
      break;
  }
}

}  // namespace qs
