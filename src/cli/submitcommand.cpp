#include "cli/submitcommand.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <ostream>
#include <set>
#include <sstream>

#include "app/summit.h"
#include "cli/interruptwatch.h"
#include "cli/runprinter.h"
#include "cli/terminalanswerer.h"
#include "net/connectionsettings.h"
#include "platform/internetconnection.h"
#include "projects/domainstore.h"
#include "submit/runcontrol.h"

namespace qs {

namespace {

int SubmitUsage(std::ostream& err, const std::string& problem) {
  err << "quorvex-summit: submit: " << problem << "\n"
      << "Usage: quorvex-summit [--home DIR] submit [--yes] DOMAIN [PROJECT...]\n";
  return kExitUsage;
}

}  // namespace

int RunSubmitCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                     TCommandLineIo io) {
  bool yes = false;
  std::vector<std::string> names;
  for (const std::string& a : args) {
    if (a == "--yes" || a == "-y") yes = true;
    else if (a.size() > 1 && a[0] == '-') return SubmitUsage(io.err, "unknown option " + a);
    else names.push_back(a);
  }
  if (names.empty()) return SubmitUsage(io.err, "a DOMAIN is needed");
  const std::string domain = names.front();
  const std::set<std::string> wanted(names.begin() + 1, names.end());

  // Every question is answered alike; the terminal answerer shows it.
  std::string script;
  for (int i = 0; i < 256; ++i) script += yes ? "Yes\n" : "No\n";
  std::istringstream answers(script);
  TSummit summit(folder);
  TTerminalAnswerer answerer(answers, io.err, summit.state.applicationTitle);
  if (!summit.Start(answerer)) {
    summit.catalogue.Close();
    return kExitFailure;
  }
  const std::vector<std::string> projects = TDomainStore(folder).ReadProjectList(domain);
  for (const std::string& w : wanted) {
    if (std::find(projects.begin(), projects.end(), w) == projects.end()) {
      io.err << "quorvex-summit: submit: no project " << w << " in " << domain << '\n';
      summit.catalogue.Close();
      return kExitFailure;
    }
  }

  TCommandRun commandRun(summit, answerer, io.out);
  TRunControl& run = commandRun.run;

  int code = kExitFailure;
  try {
    run.AddChecked(domain, projects, [&](const std::string& p) {
      return wanted.empty() || wanted.count(p) > 0;
    });
    if (run.Total() == 0) {
      io.err << "quorvex-summit: submit: nothing was queued\n";
    } else {
      run.Start();
      if (run.Active()) {
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&] {
          if (run.Total() == run.Completed() && run.LiveRequests() == 0) loop.quit();
        });
        check.start(20);
        // Ctrl-C, a termination request or a lost terminal stop the run as Stop does, so its
        // history, dates and report are written.
        const TInterruptWatch interrupt({SIGINT, SIGTERM, SIGHUP}, [&](int) {
          io.err << "quorvex-summit: submit: stopped\n";
          run.Stop();
          // Waiting entries stay unsent; the stopped one has its history and report.
          while (run.Queue().NextWaiting() >= 0) run.Cancel(static_cast<size_t>(run.Queue().NextWaiting()));
        });
        loop.exec();
        // A run whose dates, report or history could not be written did not end as it
        // should: the printed lines say which.
        code = commandRun.failedEntries == 0 ? kExitOk : kExitFailure;
      }
    }
  } catch (const std::exception& e) {
    io.err << "quorvex-summit: submit: " << e.what() << '\n';
  }
  summit.catalogue.Close();
  return code;
}

}  // namespace qs
