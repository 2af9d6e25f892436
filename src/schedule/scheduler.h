// The scheduler: while it runs, the tray icon's animation drives it, and about every 50
// seconds its tick puts the first scheduled project into the run queue and starts the run
// when that project is due and the run is idle. It keeps the scheduled list, the scheduler
// log, the status text, [Application] schedule and the autostart entry.
//
// The scheduler works through the run it is given; the run must outlive every command given
// to the scheduler, while either may be destroyed first.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "net/connectionsettings.h"
#include "net/webconnect.h"
#include "platform/autostart.h"
#include "schedule/frametimer.h"
#include "schedule/scheduledlist.h"
#include "schedule/schedulerlog.h"
#include "schedule/trayanimation.h"
#include "schedule/zedraautostart.h"

namespace qs {

class IInternetConnection;
class TProjectEditor;
class TRunControl;

// What the scheduler uses of the platform; tests give their own.
struct TSchedulerPlatform {
  std::unique_ptr<IFrameTimer> timer;  // none: a 100 ms Qt timer
  TAutostartFolders autostartFolders = TAutostartFolders::Default();
  std::string executable;  // the program the autostart entry starts; empty: this program
};

enum class TSchedulerStart { UserCommand, ProgramStart };

class TScheduler {
 public:
  TScheduler(TAppState& state, TRunControl& run, TConnectionSettings& connection,
             IInternetConnection& internet, IDialogs& dialogs, TSchedulerPlatform platform = {});
  ~TScheduler();
  TScheduler(const TScheduler&) = delete;
  TScheduler& operator=(const TScheduler&) = delete;

  // ---- commands
  // "Start Scheduler", or the restart at program start (which logs the shutdown lines and
  // sends the window to the tray). Nothing happens while it runs.
  void Start(TSchedulerStart by = TSchedulerStart::UserCommand);
  // "Stop Scheduler": [Application] schedule off, the autostart entry removed, "Scheduler
  // Disabled" logged; also when the scheduler does not run.
  void Stop();
  // Stops the animation and the ticks only, as the end of the program does: [Application]
  // schedule and the autostart entry stay as they are, so the next start restarts it.
  void Halt();
  // At program start: Start as a restart when [Application] schedule read on at start-up.
  void RestartAtProgramStart();
  // "Clear Log".
  void ClearLog() { log_.Clear(); }
  // Builds the scheduled list again (only while running; a stopped scheduler's list is
  // empty). Entries that cannot be read are shown through the dialogs.
  void RebuildList();
  // The scheduler tick, as the animation runs it after every 31st cycle.
  void SchedulerTick();
  // Lets the project editor write the schedule file and rebuild the list of a running
  // scheduler.
  void BindEditor(TProjectEditor& editor);

  // ---- state
  bool Running() const { return running_; }
  bool StartEnabled() const { return !running_; }  // "Start Scheduler"
  bool StopEnabled() const { return running_; }    // "Stop Scheduler"
  // "Status: Running" or "Status: Disabled".
  std::string StatusText() const;
  const std::vector<std::string>& LogLines() const { return log_.Lines(); }
  const ScheduledList& List() const { return list_; }
  int ScheduledCount() const { return list_.Count(); }  // "Scheduled:"
  // The tray icon: shown and animating while running, in the scheduled look while a
  // scheduled run entry is under way.
  const TTrayAnimation& Tray() const { return tray_; }
  TTrayAnimation& Tray() { return tray_; }
  TZedraAutostart& Autostart() { return autostart_; }
  // Closing the main window: it closes when the desktop session ends or the scheduler does
  // not run; otherwise the window is hidden and the program goes on in the tray.
  bool MayCloseWindow(bool sessionEnding) const { return sessionEnding || !running_; }

  // ---- events
  std::function<void(bool running)> OnRunningChanged;  // buttons, status text, tray icon shown
  std::function<void()> OnGoToTray;      // the restart: minimise, leave only the tray icon
  std::function<void()> OnListRebuilt;   // rows and "Scheduled:" changed
  std::function<void(int frame, bool scheduledLook)> OnFrameChanged;  // every 100 ms
  std::function<void(const std::string& line)> OnLogLine;  // a line was added to the log
  std::function<void()> OnLogCleared;                      // the log was emptied

 private:
  void AnimationStep();
  void Tick();
  void Log(std::string_view key);
  void WriteScheduleFlag(bool on);
  void ShowProblems();

  TAppState& state_;
  TRunControl& run_;
  TConnectionSettings& connection_;
  IInternetConnection& internet_;
  IDialogs& dialogs_;
  TWebConnect web_;
  TTrayAnimation tray_;
  TSchedulerLog log_;
  TZedraAutostart autostart_;
  ScheduledList list_;
  bool running_ = false;
  bool ticking_ = false;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace qs
