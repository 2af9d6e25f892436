#include "cli/commandline.h"

#include <exception>
#include <istream>
#include <ostream>

#include "app/appstate.h"
#include "app/summit.h"
#include "cli/enginescommand.h"
#include "cli/projectcommands.h"
#include "cli/submitcommand.h"
#include "cli/fetchcommand.h"
#include "cli/importcommand.h"
#include "cli/metacommand.h"
#include "cli/rankcommand.h"
#include "cli/schedulecommand.h"
#include "cli/terminalanswerer.h"
#include "cli/updatecommand.h"
#include "projects/domainstore.h"

namespace qs {

std::string UsageText() {
  return "Usage: quorvex-summit [--home DIR] [COMMAND [ARGS]]\n"
         "\n"
         "Without a command, starts the desktop program. With --headless (or without a\n"
         "display), runs the start-up sequence on the application folder and prints each\n"
         "step.\n"
         "\n"
         "Commands:\n"
         "  domains            print the domain list, one name a line\n"
         "  projects DOMAIN    print the project list of DOMAIN, one name a line\n"
         "  fetch [--post DATA] [--referer URL] URL\n"
         "                     send one request with the stored proxy settings; the status\n"
         "                     line and header go to stderr, the body to stdout\n"
         "  new-domain --url URL --category C --first F --last L --email E --alt-email A\n"
         "             [--password P] [--company C] [--address1 A] [--address2 A] [--city C]\n"
         "             [--state S] [--zip Z] [--country C] [--phone P] [--fax F]\n"
         "                     add a domain with the project of URL\n"
         "  new-project DOMAIN --url URL [the same options]\n"
         "                     add a project; contact fields default to the domain's\n"
         "                     current project's\n"
         "  show DOMAIN PROJECT        print every field of a project, key=value\n"
         "  set DOMAIN PROJECT FIELD=VALUE...   change fields (names as the project keys)\n"
         "  delete-project DOMAIN PROJECT...    delete projects with their history and reports\n"
         "  delete-domain DOMAIN...    delete domains with all their projects\n"
         "  clear-history DOMAIN PROJECT        delete a project's history and reports\n"
         "  engines [--custom] [--type Engines|FFA|Networks] [--list]\n"
         "                     print the counters of the main (or custom) engine table;\n"
         "                     --list prints one record a line: name, type, frequency,\n"
         "                     posting page\n"
         "  rank --url URL --keyword K [--depth N] [ENGINE...]\n"
         "                     check the position of URL for K on the named ranking engines\n"
         "                     (all of the list when none is named) down to depth N\n"
         "                     (default 10); prints each engine's status, depth and hits.\n"
         "                     Each finished engine's check is added to the ranking history\n"
         "                     of the project URL belongs to, unless --no-history\n"
         "  rank-history DOMAIN PROJECT [--keyword K] [--csv]\n"
         "                     print the project's ranking history: date, engine, keyword,\n"
         "                     best position and the change since the engine's previous\n"
         "                     check of that keyword\n"
         "  meta DOMAIN PROJECT  print the project's meta tag block, one tag a line\n"
         "  meta clean FILE [--out FILE]\n"
         "                     write FILE without its meta tags and title (default: stdout)\n"
         "  meta inject DOMAIN PROJECT FILE [--out FILE]\n"
         "                     write FILE with the project's meta tag block after its head\n"
         "                     start tag (default: stdout)\n"
         "  doorway DOMAIN PROJECT --template N [--out FILE]\n"
         "                     build the project's doorway page from template N (1 to 8)\n"
         "                     into FILE (default: the preview file); prints the file\n"
         "  submit [--yes] DOMAIN [PROJECT...]\n"
         "                     submit the named projects of DOMAIN (all when none is named)\n"
         "                     to their due engines; prints each row's result, each\n"
         "                     entry's summary and the report path. Questions are answered\n"
         "                     No unless --yes; Ctrl-C stops the run (history and report\n"
         "                     are written)\n"
         "  schedule list      print the scheduled list: domain, project, submit date, time\n"
         "  schedule run [--yes]\n"
         "                     run the scheduler in the foreground: prints the scheduler\n"
         "                     log and each scheduled run's rows and summary; the first\n"
         "                     check comes 49.6 s after the start. Ctrl-C or SIGTERM stops\n"
         "                     it and leaves [Application] schedule as it is\n"
         "  schedule stop      switch the scheduler off: [Application] schedule off, the\n"
         "                     autostart entry removed\n"
         "  import --mode addspidered|justspider|updateproject [--ext E] [--levels N]\n"
         "         [--max N] [--contact DOMAIN/PROJECT] [--add-all] URL\n"
         "                     import the site of URL into its domain (which must exist):\n"
         "                     fetch its pages one at a time from URL, following the links\n"
         "                     that pass the extension filter E (default All), N levels\n"
         "                     deep (default 2) up to N pages (default 1); prints each\n"
         "                     page's status and the log. addspidered adds the pages as\n"
         "                     projects, justspider only lists them (--add-all then adds\n"
         "                     them), updateproject lists them for updating. Contact data\n"
         "                     of new projects: the named project's (default: the domain's\n"
         "                     first project's). Ctrl-C stops the import\n"
         "  update             check the update server ([Application] updateurl) and install\n"
         "                     newer signed databases; newer software is downloaded and\n"
         "                     installed at the next start. Prints the status lines\n"
         "\n"
         "Options:\n"
         "  --home DIR         use DIR as the application folder (also: QUORVEX_HOME)\n"
         "  --headless         without a command: run the start-up without windows\n"
         "  --help             print this help and exit\n"
         "  --version          print the version and exit\n";
}

bool WantsDesktop(const std::vector<std::string>& args, std::string& home) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--home" && i + 1 < args.size()) {
      home = args[++i];
    } else if (args[i].rfind("--home=", 0) == 0 && args[i].size() > 7) {
      home = args[i].substr(7);
    } else {
      return false;
    }
  }
  return true;
}

namespace {

int Usage(std::ostream& err, const std::string& problem) {
  err << "quorvex-summit: " << problem << "\n" << UsageText();
  return kExitUsage;
}

void PrintLines(std::ostream& out, const std::vector<std::string>& lines) {
  for (const auto& line : lines) out << line << '\n';
}

int RunStartup(const TAppFolder& folder, TCommandLineIo io) {
  TSummit summit(folder);
  const TAppState& state = summit.state;
  TTerminalAnswerer answerer(io.in, io.err, state.applicationTitle);
  const bool complete =
      summit.Start(answerer, [&](const std::string& caption) { io.out << caption << '\n'; });
  io.out << "Application folder: " << folder.Root() << '\n'
         << "Caption: " << state.caption << '\n'
         << "Domains: " << state.domains.size() << '\n';
  if (!state.currentDomain.empty())
    io.out << "Projects of " << state.currentDomain << ": " << state.projects.size() << '\n';
  io.out << "Manual engines: " << summit.manualEngines.size() << '\n';
  for (const TSdfDataSet* table : {&summit.catalogue.EnginesTable, &summit.catalogue.CustomTable}) {
    if (!table->Active()) continue;
    const TEngineCounters& c = summit.catalogue.Counters(*table);
    io.out << (table == &summit.catalogue.EnginesTable ? "Main" : "Custom") << " database: "
           << c.total << " total, " << c.engines << " engines, " << c.ffa << " FFA, "
           << c.networks << " networks of " << c.networkTotal << " sites\n";
  }
  io.out << "Categories: " << state.categories.size() << '\n';
  io.out << "Scheduler at start: " << (state.schedulerFlag ? "on" : "off") << '\n'
         << (complete ? "Start-up complete." : "Start-up stopped.") << '\n';
  summit.catalogue.Close();  // writes a table that start-up changed
  return complete ? kExitOk : kExitFailure;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, const std::string& executableFolder,
                   const std::string& installedData, TCommandLineIo io) {
  std::string home;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!rest.empty()) {
      rest.push_back(a);
    } else if (a == "--help" || a == "-h") {
      io.out << UsageText();
      return kExitOk;
    } else if (a == "--version") {
      io.out << "quorvex-summit" << kVersionSuffix << '\n';
      return kExitOk;
    } else if (a == "--headless") {
      // the desktop program's entry decides; here the start-up always runs headless
    } else if (a == "--home") {
      if (i + 1 >= args.size()) return Usage(io.err, "option --home needs a folder");
      home = args[++i];
    } else if (a.rfind("--home=", 0) == 0) {
      home = a.substr(7);
      if (home.empty()) return Usage(io.err, "option --home needs a folder");
    } else if (a.size() > 1 && a[0] == '-') {
      return Usage(io.err, "unknown option " + a);
    } else {
      rest.push_back(a);
    }
  }

  try {
    const TAppFolder folder = TAppFolder::Resolve(home, executableFolder, installedData);
    const TDomainStore store(folder);
    if (rest.empty()) return RunStartup(folder, io);
    const std::string& command = rest[0];
    if (command == "domains") {
      if (rest.size() != 1) return Usage(io.err, "domains takes no arguments");
      std::vector<std::string> skipped;
      PrintLines(io.out, store.ReadDomainList(&skipped));
      if (!skipped.empty()) io.err << SkippedLinesText(store.DomainListFile(), skipped) << '\n';
      return kExitOk;
    }
    if (command == "submit") return RunSubmitCommand(folder, {rest.begin() + 1, rest.end()}, io);
    if (command == "fetch") return RunFetchCommand(folder, {rest.begin() + 1, rest.end()}, io);
    if (command == "import") return RunImportCommand(folder, {rest.begin() + 1, rest.end()}, io);
    if (command == "projects") {
      if (rest.size() != 2) return Usage(io.err, "projects takes one DOMAIN");
      std::vector<std::string> skipped;
      PrintLines(io.out, store.ReadProjectList(rest[1], &skipped));
      if (!skipped.empty())
        io.err << SkippedLinesText(store.ProjectListFile(rest[1]), skipped) << '\n';
      return kExitOk;
    }
    if (int code = 0; RunProjectCommand(folder, command, {rest.begin() + 1, rest.end()}, io, code))
      return code;
    if (command == "rank") return RunRankCommand(folder, {rest.begin() + 1, rest.end()}, io);
    if (command == "rank-history")
      return RunRankHistoryCommand(folder, {rest.begin() + 1, rest.end()}, io);
    if (command == "meta") return RunMetaCommand(folder, {rest.begin() + 1, rest.end()}, io);
    if (command == "doorway") return RunDoorwayCommand(folder, {rest.begin() + 1, rest.end()}, io);
    if (command == "schedule") return RunScheduleCommand(folder, {rest.begin() + 1, rest.end()}, io);
    if (command == "engines") return RunEnginesCommand(folder, {rest.begin() + 1, rest.end()}, io);
    if (command == "update") return RunUpdateCommand(folder, {rest.begin() + 1, rest.end()}, io);
    return Usage(io.err, "unknown command " + command);
  } catch (const std::exception& e) {
    io.err << "quorvex-summit: " << e.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace qs
