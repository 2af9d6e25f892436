#include "cli/rankcommand.h"

#include <QEventLoop>
#include <optional>
#include <ostream>

#include "app/langtable.h"
#include "app/appstate.h"
#include "cli/terminalanswerer.h"
#include "net/connectionsettings.h"
#include "platform/filesystem.h"
#include "platform/internetconnection.h"
#include "platform/regional.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "ranking/rankhistorylist.h"
#include "ranking/rankenginelist.h"
#include "ranking/rankrun.h"
#include "ranking/rankview.h"

namespace qs {

namespace {

constexpr const char* kRankUsage =
    "Usage: quorvex-summit [--home DIR] rank --url URL --keyword K [--depth N] [--no-history]\n"
    "                      [ENGINE...]\n";
constexpr const char* kRankHistoryUsage =
    "Usage: quorvex-summit [--home DIR] rank-history DOMAIN PROJECT [--keyword K] [--csv]\n";

int RankUsage(std::ostream& err, const std::string& problem) {
  err << "quorvex-summit: rank: " << problem << "\n" << kRankUsage;
  return kExitUsage;
}

}  // namespace

int RunRankCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                   TCommandLineIo io) {
  std::string url, keyword, depth = "10";
  bool haveUrl = false, haveKeyword = false, history = true;
  std::vector<std::string> named;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--url" || a == "--keyword" || a == "--depth") {
      if (i + 1 >= args.size()) return RankUsage(io.err, "option " + a + " needs a value");
      const std::string& value = args[++i];
      if (a == "--url") url = value, haveUrl = true;
      else if (a == "--keyword") keyword = value, haveKeyword = true;
      else depth = value;
    } else if (a == "--no-history") {
      history = false;
    } else if (a.size() > 1 && a[0] == '-') {
      return RankUsage(io.err, "unknown option " + a);
    } else {
      named.push_back(a);
    }
  }
  if (!haveUrl || url.empty()) return RankUsage(io.err, "a URL to look for is needed (--url)");
  if (!haveKeyword) return RankUsage(io.err, "a keyword is needed (--keyword)");

  TLanguageTable language;
  LoadStartupTable(language, folder);
  TRankEngineList engines;
  engines.Load(folder);
  if (named.empty()) {
    engines.SelectAll();
  } else {
    for (const auto& name : named) {
      const int i = engines.IndexOf(name);
      if (i < 0) {
        io.err << "quorvex-summit: rank: no ranking engine " << name << '\n';
        return kExitFailure;
      }
      engines.SetChecked(static_cast<size_t>(i), true);
    }
  }

  TTerminalAnswerer answerer(io.in, io.err, std::string(kProductTitle));
  TPlatformInternetConnection connection;
  TRankView view;
  TRankRun run(folder, language, answerer, connection, engines, view);
  TConnectionSettings::ApplyProxyTo(TConnectionSettings(folder).ReadProxy(), run.HttpRank());
  run.SetRankUrl(url);
  run.SetRankKey(keyword);
  run.SetRankPage(depth);
  run.SetRecordHistory(history);

  QEventLoop loop;
  bool stalled = false;
  bool started = false;
  run.OnRunStateChange = [&] {
    if (run.Running()) started = true;
    else loop.quit();
  };
  run.OnStall = [&](const std::string& text) {
    io.err << "quorvex-summit: rank: " << text << '\n';
    stalled = true;
    run.Stop();
  };
  run.Start();
  // The run may end without waiting for anything (a depth below 10).
  if (run.Running()) loop.exec();
  if (!started) return kExitFailure;

  for (const TRankNode& node : view.Nodes()) {
    io.out << node.engine << '\n'
           << "  " << TTerminalAnswerer::PlainText(node.status) << '\n'
           << "  " << TTerminalAnswerer::PlainText(node.depth) << '\n';
    for (const TRankHit& hit : node.hits)
      io.out << "  " << language.Lookup("386") << ' ' << hit.position << ' ' << hit.url << '\n';
  }
  return stalled ? kExitFailure : kExitOk;
}

int RunRankHistoryCommand(const TAppFolder& folder, const std::vector<std::string>& args,
                          TCommandLineIo io) {
  auto usage = [&](const std::string& problem) {
    io.err << "quorvex-summit: rank-history: " << problem << "\n" << kRankHistoryUsage;
    return kExitUsage;
  };
  std::vector<std::string> names;
  std::optional<std::string> keyword;
  bool csv = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--keyword") {
      if (i + 1 >= args.size()) return usage("option --keyword needs a value");
      keyword = args[++i];
    } else if (a == "--csv") {
      csv = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return usage("unknown option " + a);
    } else {
      names.push_back(a);
    }
  }
  if (names.size() != 2) return usage("a DOMAIN and a PROJECT are needed");
  const TDomainStore store(folder);
  const std::string key = ProjectKeyOf(names[1]);
  if (!FileExists(store.ProjectFile(names[0], key))) {
    io.err << "quorvex-summit: rank-history: no project " << names[1] << " in " << names[0]
           << '\n';
    return kExitFailure;
  }
  TLanguageTable language;
  LoadStartupTable(language, folder);
  TRankHistory history(language);
  history.Load(store.RankHistoryFile(names[0], key));
  if (keyword)
    history.SelectKeyword(*keyword);
  else
    history.SelectAllKeywords();
  if (history.Skipped() > 0)
    io.err << "quorvex-summit: rank-history: " << history.Skipped() << ' '
           << language.Lookup("435") << '\n';
  if (csv) {
    io.out << history.Csv();
    return kExitOk;
  }
  for (size_t r = 0; r < history.Rows().size(); ++r) {
    for (int c = 0; c < TRankHistory::kColumns; ++c)
      io.out << (c > 0 ? "\t" : "") << history.Cell(r, c);
    io.out << '\n';
  }
  if (const auto best = history.BestEver())
    io.out << language.Lookup("432") << ' ' << best->position << " (" << best->engine << ", "
           << regional::FormatDate(best->when.date()) << ")\n";
  return kExitOk;
}

}  // namespace qs
