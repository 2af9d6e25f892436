// The ranking run against scripted result pages on a loopback server.
#include "ranking/rankrun.h"

#include <gtest/gtest.h>

#include "support/fakeconnection.h"

#include <QEventLoop>
#include <algorithm>
#include <QTimer>
#include <string>
#include <vector>

#include "app/clock.h"
#include "app/text.h"
#include "ranking/rankhistory.h"
#include "support/scriptserver.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

using test::Close;
using test::Hang;
using test::Reset;
using test::Script;
using test::ScriptServer;
using test::Write;

using test::FakeConnection;

const std::string kSite = "http://www.site.test/";
const std::string kMarker = "<a class=r href=\"";

// A result page listing `urls`, one result each.
std::string ResultPage(const std::vector<std::string>& urls) {
  std::string body = "<html><body>\n";
  for (const auto& u : urls) body += "<li>" + kMarker + u + "\">result</a></li>\n";
  return body + "</body></html>\n";
}

std::string Answer(const std::string& body, const std::string& status = "200 OK") {
  return "HTTP/1.0 " + status + "\r\nContent-Type: text/html\r\n\r\n" + body;
}

Script Page(const std::string& body, const std::string& status = "200 OK") {
  return {Write(Answer(body, status)), Close()};
}

// n results of other sites.
std::vector<std::string> Others(int n) {
  std::vector<std::string> urls;
  for (int i = 0; i < n; ++i) urls.push_back("http://other" + std::to_string(i) + ".test/");
  return urls;
}

class RankRunTest : public testing::Test {
 protected:
  RankRunTest() {
    run.SetRankUrl(kSite);
    run.SetRankKey("widgets");
  }

  // Writes the ranking file ("@" stands for the server's address) and loads the list.
  void Catalogue(const std::string& text) {
    dir.Write("data/ranking.czc", ReplaceAll(text, "@", server.Base()));
    engines.Load(dir.AppFolder());
  }
  // One engine, "Solo", with the usual keys and `extra` lines.
  void OneEngine(const std::string& extra = "") {
    Catalogue("[List]\nSolo\n[Solo]\nurl=@/s?q=$keyword&p=$page\npage=$curpage*10-10\n"
              "search=" + kMarker + "\n" + extra);
    engines.SelectAll();
  }

  // Runs the event loop until the run has ended; false when it did not end in time.
  bool RunUntilIdle() {
    if (!run.Running()) return true;
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    run.OnRunStateChange = [&] {
      if (!run.Running()) loop.quit();
    };
    guard.start(20000);
    loop.exec();
    run.OnRunStateChange = nullptr;
    return !run.Running();
  }

  // The request line of every request the server received.
  std::vector<std::string> RequestLines() const {
    std::vector<std::string> lines;
    for (const auto& r : server.Requests()) lines.push_back(r.substr(0, r.find("\r\n")));
    return lines;
  }

  std::string L(const char* key) const { return language.Lookup(key); }

  test::TempFolder dir;
  ScriptServer server;
  TLanguageTable language;
  TScriptedAnswerer dialogs;
  FakeConnection connection;
  TRankEngineList engines;
  TRankView view;
  TRankRun run{dir.AppFolder(), language, dialogs, connection, engines, view};
};

TEST_F(RankRunTest, DepthGivesTheNumberOfPagesRequested) {
  struct {
    std::string depth;
    int pages;
  } cases[] = {{"10", 1}, {"25", 2}, {"200", 20}, {"9", 0}, {"0", 0}, {"-20", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE("depth " + c.depth);
    ScriptServer pages({Page(ResultPage(Others(10)))});
    Catalogue("[List]\nSolo\n[Solo]\nurl=" + pages.Base() +
              "/s?q=$keyword&p=$page\npage=$curpage*10-10\nsearch=" + kMarker + "\n");
    engines.SelectAll();
    run.SetRankPage(c.depth);
    run.Start();
    ASSERT_TRUE(RunUntilIdle());
    const auto requests = pages.Requests();
    ASSERT_EQ(requests.size(), static_cast<size_t>(c.pages));
    for (int p = 0; p < c.pages; ++p)
      EXPECT_EQ(requests[p].substr(0, requests[p].find("\r\n")),
                "GET /s?q=widgets&p=" + std::to_string(p * 10) + " HTTP/1.0");
    ASSERT_EQ(view.Nodes().size(), 1u);
    const TRankNode& node = view.Nodes()[0];
    EXPECT_EQ(node.status, L("384"));
    EXPECT_EQ(node.depth, c.pages == 0 ? L("382")
                                       : L("385") + std::to_string(c.pages * 10) + "</b>");
    EXPECT_TRUE(node.expanded);
    EXPECT_TRUE(dialogs.Calls().empty());
  }
}

TEST_F(RankRunTest, CheckedEnginesInListOrderEachNodeAddedWhenReached) {
  server.SetScripts({Page(ResultPage({kSite}))});
  Catalogue(
      "[List]\ngamma\nAlpha\nbeta\ndelta\n"
      "[Alpha]\nurl=@/alpha?q=$keyword\nsearch=" + kMarker + "\n"
      "[beta]\nurl=@/beta?q=$keyword\nsearch=" + kMarker + "\n"
      "[delta]\nurl=@/delta?q=$keyword\nsearch=" + kMarker + "\n"
      "[gamma]\nurl=@/gamma?q=$keyword\nsearch=" + kMarker + "\n");
  for (const char* name : {"Alpha", "delta", "gamma"})
    engines.SetChecked(static_cast<size_t>(engines.IndexOf(name)), true);
  struct Added {
    std::string engine;
    size_t requestsBefore;
    std::string status, depth, results;
  };
  std::vector<Added> added;
  view.OnNodeAdded = [&](size_t i) {
    const TRankNode& n = view.Nodes()[i];
    added.push_back({n.engine, server.Requests().size(), n.status, n.depth, n.results});
  };
  run.Start();
  ASSERT_TRUE(RunUntilIdle());

  ASSERT_EQ(added.size(), 3u);
  const char* order[] = {"Alpha", "delta", "gamma"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(added[i].engine, order[i]);
    EXPECT_EQ(added[i].requestsBefore, i);  // the engines before it are done
    EXPECT_EQ(added[i].status, L("381"));
    EXPECT_EQ(added[i].depth, L("382"));
    EXPECT_EQ(added[i].results, L("383"));
  }
  EXPECT_EQ(RequestLines(),
            (std::vector<std::string>{"GET /alpha?q=widgets HTTP/1.0",
                                      "GET /delta?q=widgets HTTP/1.0",
                                      "GET /gamma?q=widgets HTTP/1.0"}));
  for (const TRankNode& n : view.Nodes()) {
    EXPECT_EQ(n.status, L("384"));
    ASSERT_EQ(n.hits.size(), 1u);
    EXPECT_EQ(n.hits[0].position, 1);
  }
}

TEST_F(RankRunTest, PositionsAcrossPagesWhateverTheStatus) {
  // Page 1: twelve results, the site 11th and 12th (not marked, so not counted).
  // Page 2, answered 404: the site 3rd, a deeper page of it 4th, a case variant 5th.
  std::vector<std::string> first = Others(10);
  first.push_back(kSite);
  first.push_back(kSite + "x");
  std::vector<std::string> second = Others(2);
  second.push_back(kSite);
  second.push_back(kSite + "deeper/page.html");
  second.push_back("HTTP://www.site.test/");
  server.SetScripts({Page(ResultPage(first)), Page(ResultPage(second), "404 Not Found")});
  OneEngine();
  run.SetRankPage("20");
  std::vector<std::string> statuses;
  view.OnNodeChange = [&](size_t i) {
    if (statuses.empty() || statuses.back() != view.Nodes()[i].status)
      statuses.push_back(view.Nodes()[i].status);
  };
  run.Start();
  ASSERT_TRUE(RunUntilIdle());

  ASSERT_EQ(view.Nodes().size(), 1u);
  const TRankNode& node = view.Nodes()[0];
  const std::string page2 = server.Base() + "/s?q=widgets&p=10";
  ASSERT_EQ(node.hits.size(), 2u);
  EXPECT_EQ(node.hits[0].position, 13);
  EXPECT_EQ(node.hits[0].url, page2);
  EXPECT_EQ(node.hits[1].position, 14);
  const std::string link = "<a href=\"" + ReplaceAll(page2, "&", "&amp;") + "\">";
  EXPECT_EQ(node.results, L("383") + link + L("386") + " 13</a> " + link + L("386") + " 14</a> ");
  EXPECT_EQ(node.status, L("384"));
  EXPECT_EQ(node.depth, L("385") + "20</b>");

  // Waiting, Connecting, then the byte count as it grows, for each page; Finished at the end.
  ASSERT_GE(statuses.size(), 6u);
  EXPECT_EQ(statuses[0], L("381"));
  EXPECT_EQ(statuses[1], L("380"));
  EXPECT_EQ(statuses.back(), L("384"));
  EXPECT_EQ(statuses[statuses.size() - 2],
            L("387") + std::to_string(ResultPage(second).size()));
  EXPECT_NE(std::find(statuses.begin(), statuses.end(),
                      L("387") + std::to_string(ResultPage(first).size())),
            statuses.end());
}

TEST_F(RankRunTest, CleanUpBeforeMarking) {
  struct {
    std::string remove;
    size_t hits;
  } cases[] = {{"<b>,</b>,", 1}, {"<b>,</b>", 0}, {"", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE("remove=" + c.remove);
    ScriptServer pages({Page("<li>" + kMarker + "</b><b>" + kSite + "</b>\">x</a>\n")});
    Catalogue("[List]\nSolo\n[Solo]\nurl=" + pages.Base() + "/s\nsearch=" + kMarker +
              "\nremove=" + c.remove + "\nreplace=\n");
    engines.SelectAll();
    run.Start();
    ASSERT_TRUE(RunUntilIdle());
    ASSERT_EQ(view.Nodes().size(), 1u);
    EXPECT_EQ(view.Nodes()[0].hits.size(), c.hits);
  }
}

TEST_F(RankRunTest, KeywordBlanksBecomePlusAndThePageValueFollows) {
  struct {
    std::string keyword, page, path;
  } cases[] = {
      {"blue widgets", "$curpage*10-10", "/s?q=blue+widgets&p=0"},
      {"a  b", "($curpage-1)*10+1", "/s?q=a++b&p=1"},
      {"$page", "7", "/s?q=7&p=7"},  // $keyword first, then $page
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keyword);
    ScriptServer pages({Page(ResultPage({}))});
    Catalogue("[List]\nSolo\n[Solo]\nurl=" + pages.Base() + "/s?q=$keyword&p=$page\npage=" +
              c.page + "\n");
    engines.SelectAll();
    run.SetRankKey(c.keyword);
    run.Start();
    ASSERT_TRUE(RunUntilIdle());
    const auto requests = pages.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].substr(0, requests[0].find("\r\n")), "GET " + c.path + " HTTP/1.0");
  }
}

TEST_F(RankRunTest, StopDuringTheSecondOfFivePagesKeepsItsHits) {
  std::vector<std::string> first = Others(1);
  first.push_back(kSite);
  // The second page sends its first result, then holds the connection open.
  server.SetScripts({Page(ResultPage(first)),
                     {Write(Answer("<li>" + kMarker + kSite + "a\">x</a>\n<li>")), Hang()},
                     Page(ResultPage({kSite}))});
  OneEngine();
  run.SetRankPage("50");
  view.OnNodeChange = [&](size_t i) {
    if (server.Connections() == 2 && view.Nodes()[i].status.rfind(L("387"), 0) == 0)
      run.Stop();
  };
  run.Start();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(server.Connections(), 2);

  // The aborted request still ends, and what it brought is searched.
  QEventLoop loop;
  QTimer guard;
  QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
  view.OnNodeChange = [&](size_t) {
    if (view.Nodes()[0].hits.size() == 2) loop.quit();
  };
  guard.start(20000);
  if (view.Nodes()[0].hits.size() < 2) loop.exec();
  const TRankNode& node = view.Nodes()[0];
  ASSERT_EQ(node.hits.size(), 2u);
  EXPECT_EQ(node.hits[0].position, 2);
  EXPECT_EQ(node.hits[1].position, 11);
  EXPECT_EQ(run.HttpRank().State(), THttpState::Ready);  // no third request started
  EXPECT_FALSE(run.Running());
  EXPECT_EQ(server.Connections(), 2);
}

TEST_F(RankRunTest, EngineMissingItsSectionFinishesWithoutHits) {
  server.SetScripts({Page(ResultPage({kSite}))});
  Catalogue("[List]\nAlpha\nGhost\nZulu\n"
            "[Alpha]\nurl=@/a\nsearch=" + kMarker + "\n"
            "[Zulu]\nurl=@/z\nsearch=" + kMarker + "\n");
  engines.SelectAll();
  run.Start();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(RequestLines(), (std::vector<std::string>{"GET /a HTTP/1.0", "GET /z HTTP/1.0"}));
  ASSERT_EQ(view.Nodes().size(), 3u);
  EXPECT_EQ(view.Nodes()[1].engine, "Ghost");
  EXPECT_EQ(view.Nodes()[1].status, L("384"));
  EXPECT_TRUE(view.Nodes()[1].hits.empty());
  EXPECT_EQ(view.Nodes()[1].results, L("383"));
  EXPECT_EQ(view.Nodes()[2].hits.size(), 1u);
}

TEST_F(RankRunTest, RequestThatCannotStartWaitsForStop) {
  server.SetScripts({{Hang()}});
  OneEngine();
  std::vector<std::string> stalls;
  run.OnStall = [&](const std::string& text) { stalls.push_back(text); };
  // Someone else's request keeps the client busy.
  THttpCli& cli = run.HttpRank();
  cli.SetURL(server.Base() + "/busy");
  cli.Get();
  run.Start();
  EXPECT_TRUE(run.Running());
  EXPECT_EQ(stalls, (std::vector<std::string>{"HTTP component is busy"}));
  ASSERT_EQ(view.Nodes().size(), 1u);
  EXPECT_EQ(view.Nodes()[0].status, L("380") + " <b>Error HTTP component is busy</b>");
  run.Stop();
  EXPECT_FALSE(run.Running());

  // The other request's end is not taken for a page of the run.
  QEventLoop loop;
  auto runHandler = cli.OnRequestDone;
  cli.OnRequestDone = [&](THttpCli& c, THttpRequest rq, int error) {
    runHandler(c, rq, error);
    loop.quit();
  };
  cli.Abort();
  loop.exec();
  EXPECT_EQ(view.Nodes()[0].status, L("380") + " <b>Error HTTP component is busy</b>");
  EXPECT_EQ(cli.State(), THttpState::Ready);
}

TEST_F(RankRunTest, DepthThatIsNoWholeNumberMakesNoRequest) {
  OneEngine();
  run.SetRankPage("2x");
  std::vector<std::string> stalls;
  run.OnStall = [&](const std::string& text) { stalls.push_back(text); };
  run.Start();
  const std::string text = "'2x' is not a valid integer value";
  ASSERT_EQ(dialogs.Calls().size(), 1u);
  EXPECT_EQ(dialogs.Calls()[0].text, text);
  EXPECT_EQ(dialogs.Calls()[0].type, TMsgDlgType::Error);
  EXPECT_EQ(stalls, (std::vector<std::string>{text}));
  EXPECT_TRUE(run.Running());
  run.Stop();
  EXPECT_FALSE(run.Running());
  EXPECT_EQ(server.Connections(), 0);
}

TEST_F(RankRunTest, NoRunWithoutConnectionOrCheckedEngine) {
  struct {
    bool connected, checked;
    std::string message;
  } cases[] = {{false, true, "nointernet"}, {true, false, "norank"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    TScriptedAnswerer answers;
    TRankRun other(dir.AppFolder(), language, answers, connection, engines, view);
    OneEngine();
    if (!c.checked) engines.DeselectAll();
    connection.connected = c.connected;
    view.AddNode("earlier", "s", "d", "r");
    other.Start();
    EXPECT_FALSE(other.Running());
    ASSERT_EQ(answers.Calls().size(), 1u);
    EXPECT_EQ(answers.Calls()[0].text, L(c.message.c_str()));
    EXPECT_EQ(view.Nodes().size(), 1u);  // the tree is not cleared
    view.Clear();
  }
  EXPECT_EQ(server.Connections(), 0);
}


// Each engine that ran its pages to the end leaves one line in the history of the project the
// checked URL belongs to; a check whose page brought no usable answer leaves none.
TEST_F(RankRunTest, AFinishedEngineIsRecordedInItsProjectsHistory) {
  const std::string project = "data/domains/projects/site.test/Index";
  dir.Write(project + ".zro", "[Index]\r\nurl=" + kSite + "\r\n");
  const QDateTime moment(QDate(2026, 5, 4), QTime(8, 30, 0));
  clock::Fixed fixed(moment);
  std::vector<std::string> first = Others(3);
  first.push_back(kSite + "a.htm");
  first.push_back(kSite);
  struct {
    const char* what;
    Script page;
    bool recorded;
    std::vector<int> positions;
  } cases[] = {
      {"hits on the page", Page(ResultPage(first)), true, {4, 5}},
      {"no hit", Page(ResultPage(Others(10))), true, {}},
      {"an error page", Page(ResultPage(first), "503 Service Unavailable"), false, {}},
      {"no answer", {Reset()}, false, {}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    dir.Write(project + ".rnk", "");
    server.SetScripts({c.page});
    OneEngine();
    std::vector<std::string> recorded;
    run.OnHistoryRecorded = [&](const std::string& path) { recorded.push_back(path); };
    run.Start();
    ASSERT_TRUE(RunUntilIdle());
    const TRankHistoryFile file = ReadRankHistory(dir.Path(project + ".rnk"));
    EXPECT_EQ(file.skipped, 0u);
    if (!c.recorded) {
      EXPECT_TRUE(file.checks.empty());
      EXPECT_TRUE(recorded.empty());
      continue;
    }
    EXPECT_EQ(recorded, std::vector<std::string>{dir.Path(project + ".rnk")});
    ASSERT_EQ(file.checks.size(), 1u);
    const TRankCheck& check = file.checks[0];
    EXPECT_EQ(check.when, moment);
    EXPECT_EQ(check.engine, "Solo");
    EXPECT_EQ(check.keyword, "widgets");
    EXPECT_EQ(check.depth, 10);
    EXPECT_EQ(check.positions, c.positions);
    EXPECT_EQ(check.resultUrl, c.positions.empty() ? "" : server.Base() + "/s?q=widgets&p=0");
  }

  // Switched off (the command line's --no-history), and for a URL of no project: nothing.
  dir.Write(project + ".rnk", "");
  server.SetScripts({Page(ResultPage(first))});
  run.SetRecordHistory(false);
  run.Start();
  ASSERT_TRUE(RunUntilIdle());
  run.SetRecordHistory(true);
  run.SetRankUrl("http://www.site.test/elsewhere.htm");
  run.Start();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(dir.Read(project + ".rnk"), "");
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.test/_elsewhere.htm.rnk"));
}

}  // namespace
}  // namespace qs
