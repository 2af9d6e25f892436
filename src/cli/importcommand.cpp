#include "cli/importcommand.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <csignal>
#include <memory>
#include <ostream>
#include <unistd.h>

#include "app/errors.h"
#include "cli/projectsession.h"
#include "cli/terminalanswerer.h"
#include "net/connectionsettings.h"
#include "platform/internetconnection.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "spider/importmonitor.h"

namespace qs {

namespace {

constexpr const char* kImportUsage =
    "Usage: quorvex-summit [--home DIR] import --mode addspidered|justspider|updateproject\n"
    "       [--ext E] [--levels N] [--max N] [--contact DOMAIN/PROJECT] [--add-all] URL\n";

int ImportUsage(std::ostream& err, const std::string& problem) {
  err << "quorvex-summit: import: " << problem << "\n" << kImportUsage;
  return kExitUsage;
}

// Ctrl-C reaches the event loop through a pipe.
int interruptPipe[2] = {-1, -1};
void OnInterrupt(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = write(interruptPipe[1], &byte, 1);
}

// The category and contact data of a stored project.
TContactData ContactOf(const TDomainStore& store, const std::string& domain,
                       const std::string& listedName) {
  const std::vector<std::string> projects = store.ReadProjectList(domain);
  if (std::find(projects.begin(), projects.end(), listedName) == projects.end())
    throw NameError("There is no project \"" + listedName + "\" in " + domain + ".");
  const std::string key = ProjectKeyOf(listedName);
  auto read = [&](std::string_view name) {
    return store.ReadProjectValue(domain, key, key, name, "");
  };
  TContactData c;
  c.category = read("catagory");
  c.firstName = read("name");
  c.lastName = read("last");
  c.email = read("email");
  c.altEmail = read("alt_email");
  c.password = read("password");
  c.company = read("company");
  c.address1 = read("address1");
  c.address2 = read("address2");
  c.city = read("city");
  c.state = read("state");
  c.zip = read("zip");
  c.country = read("country");
  c.phone = read("phone");
  c.fax = read("fax");
  return c;
}

TContactData ContactOfEditor(const TProjectEditor& editor) {
  TContactData c;
  c.category = editor.Text("catagory");
  c.firstName = editor.Text("name");
  c.lastName = editor.Text("last");
  c.email = editor.Text("email");
  c.altEmail = editor.Text("alt_email");
  c.password = editor.Text("password");
  c.company = editor.Text("company");
  c.address1 = editor.Text("address1");
  c.address2 = editor.Text("address2");
  c.city = editor.Text("city");
  c.state = editor.Text("state");
  c.zip = editor.Text("zip");
  c.country = editor.Text("country");
  c.phone = editor.Text("phone");
  c.fax = editor.Text("fax");
  return c;
}

}  // namespace

int RunImportCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                     TCommandLineIo io) {
  std::string mode, url, contact;
  TSpiderOptions options;
  bool addAll = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--mode" || a == "--ext" || a == "--levels" || a == "--max" || a == "--contact") {
      if (i + 1 >= args.size()) return ImportUsage(io.err, "option " + a + " needs a value");
      const std::string& value = args[++i];
      if (a == "--mode") mode = value;
      else if (a == "--ext") options.extensions = value;
      else if (a == "--levels") options.levelsDeep = value;
      else if (a == "--max") options.maxPages = value;
      else contact = value;
    } else if (a == "--add-all") {
      addAll = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return ImportUsage(io.err, "unknown option " + a);
    } else if (url.empty()) {
      url = a;
    } else {
      return ImportUsage(io.err, "only one URL is imported");
    }
  }
  const auto parsedMode = ParseImportMode(mode);
  if (!parsedMode) return ImportUsage(io.err, "--mode must be addspidered, justspider or updateproject");
  if (url.empty()) return ImportUsage(io.err, "a URL to import is needed");
  if (addAll && *parsedMode != TImportMode::JustSpider)
    return ImportUsage(io.err, "--add-all belongs to --mode justspider");
  size_t slash = std::string::npos;
  if (!contact.empty() && ((slash = contact.find('/')) == std::string::npos || slash == 0 ||
                           slash + 1 == contact.size()))
    return ImportUsage(io.err, "--contact needs DOMAIN/PROJECT");

  TProjectSession session(folder, io);
  TAppState& state = session.State();
  TProjectEditor& editor = session.Editor();
  session.SelectDomain(DomainNameOf(url));
  // The contact data of added projects: the named project's, or the domain's first.
  state.newProject = TNewProjectRecord{};
  state.newProject.contact =
      contact.empty() ? ContactOfEditor(editor)
                      : ContactOf(editor.Store(), contact.substr(0, slash), contact.substr(slash + 1));
  state.newProject.url = url;
  state.newProject.domain = DomainNameOf(url);
  state.spiderOptions = options;

  TPlatformInternetConnection connection;
  if (!TConnectionSettings::CheckInternet(connection, &session.Dialogs(), state.languageTable))
    return kExitFailure;

  TImportMonitor monitor(state, editor, session.Dialogs());
  auto statusLine = [&](size_t node) {
    const TImportNode& n = monitor.Tree().Node(node);
    io.out << n.url << "  " << TTerminalAnswerer::PlainText(n.lines[kImportStatusLine]) << '\n';
    io.out.flush();
  };
  monitor.OnPageStatus = statusLine;
  monitor.Log().OnChange = [&](size_t, const std::string& line) { io.out << line << '\n'; };
  QEventLoop loop;
  TImportEnd end = TImportEnd::Failed;
  monitor.OnImportEnded = [&](TImportEnd e) {
    end = e;
    loop.quit();
  };

  std::unique_ptr<QSocketNotifier> notifier;
  if (pipe(interruptPipe) == 0) {
    notifier = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
      char byte;
      [[maybe_unused]] const ssize_t n = read(interruptPipe[0], &byte, 1);
      io.err << "quorvex-summit: import: stopping\n";
      monitor.Stop();
    });
    std::signal(SIGINT, OnInterrupt);
  }
  monitor.StartImport(ImportModeName(*parsedMode), url, state.newProject, state.spiderOptions);
  if (monitor.Running()) loop.exec();
  std::signal(SIGINT, SIG_DFL);
  notifier.reset();
  for (int& fd : interruptPipe) {
    if (fd >= 0) close(fd);
    fd = -1;
  }

  if (addAll && end != TImportEnd::Failed) {
    // Every page that offers "Add to projects?", as its link would add it.
    for (size_t i = 0; i < monitor.Tree().Count(); ++i) {
      if (monitor.Tree().Node(i).lines[kImportStatusLine].find("<a href=\"add\"") == std::string::npos)
        continue;
      if (monitor.LinkClicked(i, "add")) statusLine(i);
    }
  }
  io.out << "Url's Found: " << monitor.UrlsFound() << '\n'
         << "Url's Spidered: " << monitor.UrlsSpidered() << '\n';
  return end == TImportEnd::Failed ? kExitFailure : kExitOk;
}

}  // namespace qs
