#include "cli/schedulecommand.h"

#include <QEventLoop>
#include <QTimer>
#include <csignal>
#include <ostream>
#include <sstream>

#include "app/clock.h"
#include "app/summit.h"
#include "engines/enginecatalogue.h"
#include "cli/interruptwatch.h"
#include "cli/runprinter.h"
#include "cli/terminalanswerer.h"
#include "net/connectionsettings.h"
#include "platform/internetconnection.h"
#include "schedule/scheduledlist.h"
#include "schedule/scheduler.h"
#include "submit/runcontrol.h"

namespace qs {

namespace {

int ScheduleUsage(std::ostream& err, const std::string& problem) {
  err << "quorvex-summit: schedule: " << problem << "\n"
      << "Usage: quorvex-summit [--home DIR] schedule list\n"
      << "       quorvex-summit [--home DIR] schedule run [--yes]\n"
      << "       quorvex-summit [--home DIR] schedule stop\n";
  return kExitUsage;
}

int ListCommand(const TAppFolder& folder, TCommandLineIo io) {
  TLanguageTable language;
  LoadStartupTable(language, folder);
  ScheduledList list;
  list.Build(folder, clock::Today());
  for (const ScheduledRow& r : list.Rows())
    io.out << r.domain << '\t' << r.project << '\t' << r.submitDate << '\t' << r.time << '\n';
  io.out << language.Lookup("label13") << ' ' << list.Count() << '\n';
  for (const std::string& p : list.Problems()) io.err << "quorvex-summit: schedule: " << p << '\n';
  return list.Problems().empty() ? kExitOk : kExitFailure;
}

// Stop Scheduler on the folder: [Application] schedule off and the autostart entry removed.
int StopCommand(const TAppFolder& folder, TCommandLineIo io) {
  TAppState state;
  state.folder = folder;
  LoadStartupTable(state.languageTable, folder);
  TTerminalAnswerer answerer(io.in, io.err, state.applicationTitle);
  TEngineCatalogue catalogue;
  TConnectionSettings connection(folder);
  TPlatformInternetConnection internet;
  TRunControl run(state, catalogue, connection, answerer, internet);
  TScheduler scheduler(state, run, connection, internet, answerer);
  scheduler.OnLogLine = [&](const std::string& line) { io.out << line << '\n'; };
  scheduler.Stop();
  return kExitOk;
}

int RunCommand(const TAppFolder& folder, bool yes, TCommandLineIo io, int frameIntervalMs) {
  // Every question is answered alike; the terminal answerer shows it.
  std::string script;
  for (int i = 0; i < 4096; ++i) script += yes ? "Yes\n" : "No\n";
  std::istringstream answers(script);
  TSummit summit(folder);
  TTerminalAnswerer answerer(answers, io.err, summit.state.applicationTitle);
  if (!summit.Start(answerer)) {
    summit.catalogue.Close();
    return kExitFailure;
  }
  TCommandRun commandRun(summit, answerer, io.out);
  TRunControl& run = commandRun.run;

  int code = kExitFailure;
  try {
    // Made after the start-up, so the folder's [Application] schedule restarts nothing:
    // the command starts the scheduler itself.
    TSchedulerPlatform platform;
    platform.timer = std::make_unique<TQtFrameTimer>(frameIntervalMs);
    TScheduler& scheduler =
        summit.AttachScheduler(run, commandRun.connection, commandRun.internet, answerer,
                              std::move(platform));
    scheduler.OnLogLine = [&](const std::string& line) {
      io.out << line << '\n';
      io.out.flush();
    };
    QEventLoop loop;
    bool stopping = false;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
      if (stopping && run.LiveRequests() == 0) loop.quit();
    });
    // A signal ends the scheduler as the end of the program would: [Application] schedule
    // and the autostart entry stay, and a run under way is stopped with its history and
    // report written.
    const TInterruptWatch interrupt({SIGINT, SIGTERM}, [&](int) {
      if (stopping) return;
      stopping = true;
      io.err << "quorvex-summit: schedule: stopped\n";
      scheduler.Halt();
      if (run.Buttons().stop) run.Stop();
      check.start(20);
    });
    if (!interrupt.Watching()) throw std::runtime_error("cannot watch for Ctrl-C");
    scheduler.Start();
    loop.exec();
    code = commandRun.failedEntries == 0 ? kExitOk : kExitFailure;
  } catch (const std::exception& e) {
    io.err << "quorvex-summit: schedule: " << e.what() << '\n';
  }
  summit.catalogue.Close();
  return code;
}

}  // namespace

int RunScheduleCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                       TCommandLineIo io, int frameIntervalMs) {
  if (args.empty()) return ScheduleUsage(io.err, "list, run or stop is needed");
  const std::string& what = args[0];
  if (what == "list") {
    if (args.size() != 1) return ScheduleUsage(io.err, "list takes no arguments");
    return ListCommand(folder, io);
  }
  if (what == "stop") {
    if (args.size() != 1) return ScheduleUsage(io.err, "stop takes no arguments");
    return StopCommand(folder, io);
  }
  if (what == "run") {
    bool yes = false;
    for (size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--yes" || args[i] == "-y") yes = true;
      else return ScheduleUsage(io.err, "unknown argument " + args[i]);
    }
    return RunCommand(folder, yes, io, frameIntervalMs);
  }
  return ScheduleUsage(io.err, "unknown sub-command " + what);
}

}  // namespace qs
