#include "schedule/scheduler.h"

#include <exception>

#include "app/clock.h"
#include "app/settings.h"
#include "platform/internetconnection.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "schedule/schedulefile.h"
#include "store/biginifile.h"
#include "submit/requestbuilder.h"
#include "submit/runcontrol.h"

namespace qs {

TScheduler::TScheduler(TAppState& state, TRunControl& run, TConnectionSettings& connection,
                       IInternetConnection& internet, IDialogs& dialogs,
                       TSchedulerPlatform platform)
    : state_(state),
      run_(run),
      connection_(connection),
      internet_(internet),
      dialogs_(dialogs),
      web_(internet),
      tray_(std::move(platform.timer)),
      autostart_(state.applicationTitle, TAutostartStore(platform.autostartFolders),
                 platform.executable) {
  autostart_.ApplyProgramSettings();
  tray_.OnStep = [this] { AnimationStep(); };
  tray_.OnFrameChanged = [this](int frame, bool scheduled) {
    if (OnFrameChanged) OnFrameChanged(frame, scheduled);
  };
  tray_.OnTick = [this] { Tick(); };
  log_.OnLogLine = [this](const std::string& line) {
    if (OnLogLine) OnLogLine(line);
  };
  log_.OnLogCleared = [this] {
    if (OnLogCleared) OnLogCleared();
  };
  // The run keeps these after the scheduler is gone; they then do nothing.
  const std::weak_ptr<int> alive = alive_;
  run_.OnScheduledListRebuild = [this, alive] {
    if (alive.expired()) return;
    // Called from the end of a run entry: a failure here must not break the run.
    try {
      RebuildList();
    } catch (const std::exception& x) {
      dialogs_.Message(x.what(), TMsgDlgType::Error);
    }
  };
  run_.OnTrayLook = [this, alive](bool scheduled) {
    if (!alive.expired()) tray_.SetScheduledLook(scheduled);
  };
}

TScheduler::~TScheduler() { alive_.reset(); }

std::string TScheduler::StatusText() const {
  return state_.languageTable.Lookup(running_ ? "397" : "label15");
}

void TScheduler::Log(std::string_view key) { log_.Add(state_.languageTable.Lookup(key)); }

void TScheduler::WriteScheduleFlag(bool on) {
  TBiggerIniFile ini(state_.folder.Path(kSettingsFile));
  try {
    TSettings(ini, state_.folder).WriteFlag(setting::kSchedule, on);
  } catch (...) {
    ini.Close();
    throw;
  }
  ini.Close();
}

void TScheduler::Start(TSchedulerStart by) {
  if (running_) return;
  log_.Clear();
  running_ = true;
  tray_.SetScheduledLook(run_.ScheduledRun());
  tray_.Start();
  autostart_.SetAutostart(true);
  if (OnRunningChanged) OnRunningChanged(true);
  WriteScheduleFlag(true);
  if (by == TSchedulerStart::ProgramStart) {
    Log("367");
    Log("368");
    if (OnGoToTray) OnGoToTray();
  } else {
    Log("369");
  }
  RebuildList();
  Log("370");
  Log("371");
  Log("372");
}

void TScheduler::Stop() {
  // Also when it does not run (the command line switches a scheduler off that an ended
  // program left on): every step leaves a stopped scheduler as it was.
  running_ = false;
  tray_.Stop();
  if (OnRunningChanged) OnRunningChanged(false);
  autostart_.SetAutostart(false);
  WriteScheduleFlag(false);
  Log("373");
  list_.Clear();
  if (OnListRebuilt) OnListRebuilt();
}

void TScheduler::Halt() {
  if (!running_) return;
  running_ = false;
  tray_.Stop();
  if (OnRunningChanged) OnRunningChanged(false);
  list_.Clear();
  if (OnListRebuilt) OnListRebuilt();
}

void TScheduler::RestartAtProgramStart() {
  if (state_.schedulerFlag) Start(TSchedulerStart::ProgramStart);
}

void TScheduler::RebuildList() {
  if (!running_) return;
  list_.Build(state_.folder, clock::Today());
  if (OnListRebuilt) OnListRebuilt();
  ShowProblems();
}

void TScheduler::ShowProblems() {
  if (list_.Problems().empty()) return;
  std::string text;
  for (const std::string& p : list_.Problems()) text += (text.empty() ? "" : "\n") + p;
  dialogs_.Message(text, TMsgDlgType::Error);
}

void TScheduler::BindEditor(TProjectEditor& editor) {
  const std::weak_ptr<int> alive = alive_;
  BindScheduleFile(editor, state_.folder, [this, alive] {
    if (!alive.expired()) RebuildList();
  });
}

void TScheduler::AnimationStep() {
  if (run_.ScheduledRun()) return;
  // Read at every frame, so a change in the options applies at once. A settings file that
  // cannot be read is not reported ten times a second: the tick reads it too.
  bool hangUp = false;
  try {
    hangUp = connection_.ReadDialup().hangUp;
  } catch (const std::exception&) {
    return;
  }
  TConnectionSettings::HangUpWhenIdle(web_, hangUp);
}

void TScheduler::Tick() {
  // A dialog shown by the tick may run its own event loop, in which the animation goes on:
  // no tick starts inside another.
  if (ticking_) return;
  ticking_ = true;
  try {
    SchedulerTick();
  } catch (const std::exception& x) {
    dialogs_.Message(x.what(), TMsgDlgType::Error);
  }
  ticking_ = false;
}

void TScheduler::SchedulerTick() {
  connection_.ConnectForScheduler(web_);
  if (!TConnectionSettings::CheckInternet(internet_, nullptr, state_.languageTable)) return;
  const TRunButtons b = run_.Buttons();
  if (b.start || b.pause || b.stop || list_.Empty()) return;
  run_.Reset();
  const ScheduledRow row = list_.Rows().front();
  if (clock::Now() < row.moment) return;
  Log("374");
  const QDate today = clock::Today();
  const std::string key = ProjectKeyOf(row.project);
  const QDate lastsub = StoredDateOr(
      TDomainStore(state_.folder).ReadProjectValue(row.domain, key, key, "lastsub", ""),
      today.addYears(-1));
  const bool submittedToday = lastsub == today;
  if (!submittedToday) {
    try {
      run_.AddScheduled(row.domain, row.project);
    } catch (...) {
      // Off the list until it is built again, so a project that cannot be queued does not
      // stop the ones after it.
      list_.RemoveFirst();
      if (OnListRebuilt) OnListRebuilt();
      throw;
    }
    Log("378");
  }
  list_.RemoveFirst();
  if (OnListRebuilt) OnListRebuilt();
  if (!submittedToday)
    run_.Start();
  else
    Log("379");
}

}  // namespace qs
