// The run: enqueue, start, the walk with its limit on requests in flight, classification,
// pause, stop, reset, the time-out scan and the completion actions, against the practice
// engine server on loopback.
#include "submit/runcontrol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

#include "platform/filesystem.h"
#include "platform/regional.h"
#include "practiceserver.h"
#include "projects/history.h"
#include "submitfixture.h"

namespace qs {
namespace {

using test::TValues;

class SubmitRun : public test::SubmitFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listen());
    server.SetSlowMs(50);
    clock::Set([this] { return now; });
    dir.Write("data/default.hst", "Submit Date,Scheduled,Status,Generated Report,\r\n");
    dir.Write("data/domains/report-template.htm",
              "<p>$status|$ok|$failed|$timeout|$domain</p>\n<!--STARTDATA-->\n"
              "<tr class=\"$band\"><td>$id $engname $engresult $engcount</td></tr>\n"
              "<!--ENDDATA-->\n<p>$ok</p>\n");
  }
  void TearDown() override {
    test::SubmitFixture::TearDown();
    clock::Set(nullptr);
  }
  TValues Engine(const std::string& name, const std::string& behaviour,
                 const std::string& type = "ENGINE", TValues extra = {}) {
    TValues v{{"e_name", name},
              {"enginetype", type},
              {"e_count", "1"},
              {"e_url", server.Base() + "/home/" + name},
              {"cgi_url", server.Base() + "/" + behaviour + "/" + name},
              {"method", "GET"},
              {"url", "url"}};
    for (auto& [k, val] : extra) v[k] = val;
    return v;
  }
  TValues Project(TValues extra = {}) {
    TValues v{{"url", "http://dom.example/"},   {"title", "Dom"},
              {"submitengines", "-1"},          {"submitffa", "-1"},
              {"submitnetworks", "-1"},         {"submitcustom", "1"},
              {"genreport", "-1"}};
    for (auto& [k, val] : extra) v[k] = val;
    return v;
  }
  void Prepare(const std::vector<TValues>& main, const std::vector<TValues>& custom = {},
               int ports = 5) {
    WriteSettings("1", ports, 30);
    WriteTables(main, custom);
    OpenCatalogue();
    MakeRun();
  }
  void Add(const std::vector<std::string>& projects = {"Index"}) {
    run->AddChecked("dom.example", projects, [](const std::string&) { return true; });
  }
  bool Idle() const { return run->Total() == run->Completed() && run->LiveRequests() == 0; }
  // Drives the run to its end. Once every request still under way is one the server will
  // never answer, the clock moves past the time-out and the scan runs.
  bool Finish(int ms = 20000) {
    int maxLive = 0;
    const bool done = RunUntil(
        [&] {
          maxLive = std::max(maxLive, run->LiveRequests());
          maxInFlight = std::max(maxInFlight, maxLive);
          if (Idle()) return true;
          if (run->Active() && run->LiveRequests() > 0 && AllLiveAreSilent()) {
            now = now.addSecs(31);
            for (int i = 0; i < 17; ++i) run->Tick();
          }
          return false;
        },
        ms);
    return done;
  }
  bool AllLiveAreSilent() {
    // Every silent request sent so far must have reached the server.
    int underWay = 0, silent = 0, silentSent = 0;
    for (const ActivityRow& r : run->Rows()) {
      const bool isSilent = r.engine.rfind("silent", 0) == 0;
      if (isSilent && r.image != TRowImage::Skipped && r.image != TRowImage::None) ++silentSent;
      if (r.image != TRowImage::UnderWay) continue;
      ++underWay;
      if (isSilent) ++silent;
    }
    if (underWay == 0 || underWay != silent) return false;
    int received = 0;
    for (const auto& r : server.Received())
      if (r.path.rfind("/silent/", 0) == 0) ++received;
    return received >= silentSent;
  }
  std::string Line(int line) const { return run->Queue().Entries().at(0).lines[line]; }

  practice::TPracticeServer server;
  QDateTime now{QDate(2024, 8, 12), QTime(10, 0, 0)};
  int maxInFlight = 0;
};

TEST_F(SubmitRun, EnqueueMakesTheSevenLinesFromTheProjectFile) {
  const struct {
    const char* what;
    TValues project;
    bool scheduled;
    std::string kinds;
    int total;  // main: 2 engines, 1 FFA, networks of 7; custom: 1 engine, networks of 3
  } cases[] = {
      {"all kinds, main then custom", Project(), false,
       "Submits to: Engines,FFA's,Networks,Custom Database,", 14},
      {"main only", Project({{"submitcustom", "0"}}), false, "Submits to: Engines,FFA's,Networks,,", 10},
      {"main only, scheduled", Project({{"submitcustom", "0"}}), true,
       "Submits to: Engines,FFA's,Networks,", 10},
      {"custom only", Project({{"submitcustom", "2"}, {"submitffa", "0"}}), false,
       "Submits to: Engines,Networks,Custom Database Only,", 4},
      {"other value, by hand: counted on the main table", Project({{"submitcustom", "x"}}), false,
       "Submits to: Engines,FFA's,Networks,Custom Database,", 10},
      {"other value, scheduled: both tables", Project({{"submitcustom", "x"}}), true,
       "Submits to: Engines,FFA's,Networks,Custom Database,", 14},
      {"nothing selected", Project({{"submitengines", "0"}, {"submitffa", "0"}, {"submitnetworks", "0"}}),
       false, "Submits to: Custom Database,", 0},
  };
  WriteSettings();
  WriteTables({Engine("a", "ok"), Engine("b", "ok"), Engine("f", "ok", "FFA"),
               Engine("n", "ok", "NETWORKS", {{"e_count", "7"}})},
              {Engine("c", "ok"), Engine("m", "ok", "NETWORKS", {{"e_count", "3"}})});
  OpenCatalogue();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteProject("dom.example", "Index", c.project);
    RunQueue queue(state.folder, state.languageTable, catalogue);
    const RunEntry e = queue.MakeEntry("dom.example", "Index", c.scheduled);
    EXPECT_EQ(e.lines[kKindsLine], c.kinds);
    EXPECT_EQ(e.expectedTotal, c.total);
    EXPECT_EQ(e.lines[kTotalLine], "Total: " + std::to_string(c.total));
    EXPECT_EQ(e.lines[kOkLine], "OK:");
    EXPECT_EQ(e.lines[kFailedLine], "Failed:");
    EXPECT_EQ(e.lines[kTimeoutLine], "Timeout:");
    EXPECT_EQ(e.lines[kReportLine], "Generate Report: Yes");
    EXPECT_EQ(e.DisplayText(), "dom.example [Index]");
    EXPECT_EQ(e.lines[kStatusLine].find(c.scheduled ? "(Scheduled)" : "Waiting to submit") !=
                  std::string::npos, true);
    EXPECT_NE(e.lines[kStatusLine].find("<a href=\"cancel\""), std::string::npos);
  }
}

TEST_F(SubmitRun, DisplayTextGivesDomainAndProjectBack) {
  const struct {
    std::string text, domain, project;
  } cases[] = {{"dom.example [Index]", "dom.example", "Index"},
               {"dom.example [/a/b.htm]", "dom.example", "/a/b.htm"},
               {"dom.example [/x[1].htm]", "dom.example", "/x[1"}};
  for (const auto& c : cases) {
    EXPECT_EQ(DomainOfDisplay(c.text), c.domain);
    EXPECT_EQ(ProjectOfDisplay(c.text), c.project);
  }
}

TEST_F(SubmitRun, AddCheckedPassesOverDuplicatesUncheckedAndSubmittedToday) {
  WriteProject("dom.example", "Index", Project());
  WriteProject("dom.example", "_a.htm", Project({{"lastsub", regional::FormatDate(now.date())}}));
  WriteProject("dom.example", "_b.htm", Project({{"lastsub", regional::FormatDate(now.date())}}));
  WriteProject("dom.example", "_c.htm", Project());
  Prepare({Engine("a", "ok")});
  EXPECT_EQ(run->Buttons(), TRunButtons{});
  const std::vector<std::string> list{"/a.htm", "/b.htm", "/c.htm", "Index"};
  run->AddChecked("dom.example", list, [](const std::string& p) { return p != "/c.htm"; });
  run->AddChecked("dom.example", {"Index"}, [](const std::string&) { return true; });
  ASSERT_EQ(run->Queue().Entries().size(), 1u);
  EXPECT_EQ(run->Total(), 1);
  ASSERT_EQ(answerer.Calls().size(), 2u);  // once for each project submitted today
  EXPECT_EQ(answerer.Calls()[0].text, state.languageTable.Lookup("skippro"));
  EXPECT_EQ(answerer.Calls()[0].type, TMsgDlgType::Error);
  EXPECT_EQ(run->Buttons(), (TRunButtons{true, false, false, true}));
}

TEST_F(SubmitRun, StartNeedsAConnectionAndAnUpdatedDatabase) {
  WriteProject("dom.example", "Index", Project());
  Prepare({Engine("a", "ok")});
  Add();
  internet.connected = false;
  run->Start();
  ASSERT_EQ(answerer.Calls().size(), 1u);
  EXPECT_EQ(answerer.Calls()[0].text, "No internet connection was detected.");
  EXPECT_TRUE(run->Buttons().start);

  internet.connected = true;
  WriteSettings("0");
  int updates = 0;
  run->OnUpdateDatabase = [&] { ++updates; };
  answerer.Answer(mrNo);
  answerer.Answer(mrYes);
  run->Start();
  run->Start();
  ASSERT_EQ(answerer.Calls().size(), 3u);
  EXPECT_EQ(answerer.Calls()[1].type, TMsgDlgType::Confirmation);
  EXPECT_EQ(answerer.Calls()[1].text, state.languageTable.Lookup("170"));
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(run->Buttons(), (TRunButtons{true, false, false, true}));
  EXPECT_EQ(run->Queue().Entries()[0].state, TEntryState::Waiting);
  EXPECT_EQ(server.Received().size(), 0u);
}

TEST_F(SubmitRun, EveryBehaviourEndsInItsClassAndTheSumsCountTheWeights) {
  for (int ports : {1, 5}) {
    SCOPED_TRACE(ports);
    std::vector<TValues> main;
    for (const auto& o : test::ExpectedOutcomes()) main.push_back(Engine(o.behaviour + "-m", o.behaviour));
    main.push_back(Engine("skipped", "ok", "ENGINE", {{"e_freq", "Weekly"}}));
    main.push_back(Engine("network", "ok", "NETWORKS", {{"e_count", "40"}}));
    main.push_back(Engine("odd", "ok", "ENGINE", {{"e_count", "2.5"}}));  // weighs 1
    main.push_back(Engine("unvisited", "ok", ""));
    WriteProject("dom.example", "Index",
                 Project({{"submitcustom", "0"}, {"lastw", regional::FormatDate(now.date().addDays(-3))}}));
    Prepare(main, {}, ports);
    Add();
    maxInFlight = 0;
    run->Start();
    ASSERT_TRUE(Finish());
    EXPECT_LE(maxInFlight, ports);
    const auto& rows = run->Rows();
    ASSERT_EQ(rows.size(), test::ExpectedOutcomes().size() + 3);
    for (size_t i = 0; i < test::ExpectedOutcomes().size(); ++i) {
      const auto& o = test::ExpectedOutcomes()[i];
      EXPECT_EQ(rows[i].engine, o.behaviour + "-m");
      EXPECT_EQ(rows[i].result, o.result) << o.behaviour;
      EXPECT_EQ(rows[i].image, o.image) << o.behaviour;
    }
    EXPECT_EQ(rows[11].result, "Skipped");
    EXPECT_EQ(rows[12].result, "OK");
    EXPECT_EQ(rows[13].result, "OK");
    // OK: ok, moved, found, noreason, slow, the network's 40 and the odd count's 1.
    EXPECT_EQ(Line(kOkLine), "OK 46");
    EXPECT_EQ(Line(kFailedLine), "Failed: 4");
    EXPECT_EQ(Line(kTimeoutLine), "Timeout: 2");
    EXPECT_EQ(Line(kStatusLine), "Status: <b>Submission Complete...</b>");
    EXPECT_EQ(run->Buttons(), (TRunButtons{false, false, false, true}));
    EXPECT_FALSE(run->TimerRunning());
    // Every visited record was decided, the skipped one included, by its weight.
    EXPECT_EQ(run->DecidedWeight(), run->Queue().Entries()[0].expectedTotal);
    EXPECT_EQ(run->ProgressText(), "");  // nothing is under promotion any more
    // The silent engine is requested once and never again (the redirections are not followed).
    std::multiset<std::string> paths;
    for (const auto& r : server.Received()) paths.insert(r.path);
    EXPECT_EQ(paths.count("/ok/moved") + paths.count("/ok/found"), 0u);
    EXPECT_EQ(paths.count("/silent/silent-m"), 1u);
    run.reset();
    catalogue.Close();
    server.ClearReceived();
    dir.Write("data/domains/projects/dom.example/Index.hst", "");
  }
}

TEST_F(SubmitRun, TheWalkKeepsAtMostPortsInFlightAndSkipsWhatIsNotDue) {
  std::vector<TValues> main;
  for (int i = 0; i < 12; ++i) main.push_back(Engine("slow" + std::to_string(i), "slow"));
  main.push_back(Engine("weekly", "ok", "ENGINE", {{"e_freq", "Weekly"}}));
  main.push_back(Engine("ffa", "ok", "FFA"));
  WriteProject("dom.example", "Index",
               Project({{"submitffa", "0"}, {"submitcustom", "0"},
                        {"lastw", regional::FormatDate(now.date().addDays(-3))}}));
  Prepare(main, {}, 10);
  Add();
  run->Start();
  ASSERT_TRUE(RunUntil([&] { return run->LiveRequests() == 10 || Idle(); }));
  // The eleventh waits for one of the first ten.
  EXPECT_EQ(run->Rows().size(), 10u);
  ASSERT_TRUE(Finish());
  EXPECT_LE(maxInFlight, 10);
  ASSERT_EQ(run->Rows().size(), 13u);  // the FFA record leaves no row
  EXPECT_EQ(run->Rows()[12].result, "Skipped");
  EXPECT_EQ(run->Rows()[12].image, TRowImage::Skipped);
  EXPECT_EQ(Line(kOkLine), "OK 12");
  // The weekly class was not due: lastw stays; lastsub moves to today.
  const std::string file = dir.Read("data/domains/projects/dom.example/Index.zro");
  EXPECT_NE(file.find("lastw=" + regional::FormatDate(now.date().addDays(-3))), std::string::npos);
  EXPECT_NE(file.find("lastsub=" + regional::FormatDate(now.date())), std::string::npos);
}

TEST_F(SubmitRun, CustomOnlyWalksOnlyTheCustomTableAndMainThenCustomBoth) {
  const struct {
    std::string custom;
    std::vector<std::string> rows;
  } cases[] = {{"2", {"c1"}}, {"1", {"m1", "c1"}}, {"0", {"m1"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.custom);
    WriteProject("dom.example", "Index", Project({{"submitcustom", c.custom}}));
    Prepare({Engine("m1", "ok")}, {Engine("c1", "ok")});
    Add();
    run->Start();
    ASSERT_TRUE(Finish());
    std::vector<std::string> names;
    for (const auto& r : run->Rows()) names.push_back(r.engine);
    EXPECT_EQ(names, c.rows);
    run.reset();
    catalogue.Close();
  }
}

TEST_F(SubmitRun, NothingMatchingEndsTheEntryAtOnceAndTheNextStarts) {
  WriteProject("dom.example", "Index", Project({{"submitengines", "0"}, {"submitnetworks", "0"}}));
  WriteProject("dom.example", "_b.htm", Project({{"submitcustom", "0"}}));
  Prepare({Engine("a", "ok")});
  Add({"/b.htm", "Index"});
  std::vector<std::string> ended;
  run->OnEntryEnded = [&](const RunEntry& e) { ended.push_back(e.project); };
  run->Start();
  ASSERT_TRUE(Finish());
  EXPECT_EQ(ended, (std::vector<std::string>{"/b.htm", "Index"}));
  EXPECT_EQ(run->Completed(), 2);
  EXPECT_EQ(run->Queue().Entries()[1].lines[kStatusLine], "Status: <b>Submission Complete...</b>");
  EXPECT_TRUE(run->Rows().empty());
  // Adding again after the end switches Start on.
  WriteProject("dom.example", "_c.htm", Project());
  Add({"/c.htm"});
  EXPECT_EQ(run->Buttons(), (TRunButtons{true, false, false, true}));
}

TEST_F(SubmitRun, PauseLetsRequestsInFlightEndAndStartsNoNewOne) {
  std::vector<TValues> main;
  for (int i = 0; i < 8; ++i) main.push_back(Engine("slow" + std::to_string(i), "slow"));
  WriteProject("dom.example", "Index", Project({{"submitcustom", "0"}}));
  Prepare(main, {}, 5);
  Add();
  run->Start();
  ASSERT_TRUE(RunUntil([&] { return run->LiveRequests() == 5; }));
  run->Pause();
  EXPECT_EQ(run->Buttons(), (TRunButtons{true, false, true, false}));
  EXPECT_EQ(Line(kStatusLine), "Status: <b>Submission Paused...</b>");
  EXPECT_FALSE(run->TimerRunning());
  ASSERT_TRUE(RunUntil([&] { return run->LiveRequests() == 0; }));
  // Give the walk a chance it must not take.
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(run->Rows().size(), 5u);
  EXPECT_EQ(Line(kOkLine), "OK 5");
  run->Start();
  EXPECT_EQ(Line(kStatusLine), "Status: <b>Under Promotion...</b>");
  ASSERT_TRUE(Finish());
  EXPECT_EQ(Line(kOkLine), "OK 8");
}

TEST_F(SubmitRun, StopWritesAtOnceAndCountsTheAbortedAsFailed) {
  WriteProject("dom.example", "Index", Project({{"submitcustom", "0"}}));
  Prepare({Engine("ok1", "ok"), Engine("silent1", "silent"), Engine("silent2", "silent"),
           Engine("later", "ok")},
          {}, 3);
  state.currentDomain = "dom.example";
  state.currentProjectKey = "Index";
  int reloads = 0;
  run->OnReloadHistory = [&] { ++reloads; };
  Add();
  run->Start();
  ASSERT_TRUE(RunUntil([&] {
    return run->Rows().size() == 4 && run->LiveRequests() == 2 && server.Received().size() >= 3;
  }));
  run->Stop();
  // History and report are written before the aborted requests end.
  const std::string report = dir.Read("data/domains/projects/dom.example/Index8122024.htm");
  EXPECT_NE(report.find("Status: <b>Submission Stopped</b>"), std::string::npos);
  EXPECT_NE(report.find("1 silent1  1"), std::string::npos);  // its result still empty
  const auto lines = ReadHistoryLines(dir.Path("data/domains/projects/dom.example/Index.hst"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1],
            "8/12/2024,No,Completed,<a href=\"data/domains/projects/dom.example/Index8122024.htm\">View Report</a>,");
  EXPECT_EQ(reloads, 1);
  EXPECT_EQ(run->Buttons(), (TRunButtons{false, false, false, true}));
  ASSERT_TRUE(RunUntil([&] { return run->LiveRequests() == 0; }));
  EXPECT_EQ(run->Rows()[1].result, "Submission Stopped");
  EXPECT_EQ(run->Rows()[2].result, "Submission Stopped");
  EXPECT_EQ(run->Rows()[1].image, TRowImage::Failed);
  EXPECT_EQ(Line(kFailedLine), "Failed: 2");
  EXPECT_EQ(run->InFlight(), 0);
}

// A process killed between two of an entry's end writes: the files it leaves read back, a
// history line never names a missing report, and once the dates are written the project
// is not queued again the same day.
TEST_F(SubmitRun, AKillBetweenTheEndWritesNeverLeavesAProjectToBeSentTwice) {
  const std::string folder = "data/domains/projects/dom.example/";
  const struct {
    std::optional<TCompletionStep> killedAt;
    bool dates, report, history;
  } cases[] = {
      {TCompletionStep::Dates, false, false, false},
      {TCompletionStep::Report, true, false, false},
      {TCompletionStep::History, true, true, false},
      {std::nullopt, true, true, true},
  };
  Prepare({Engine("ok1", "ok")});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.killedAt ? static_cast<int>(*c.killedAt) : -1);
    for (const char* f : {"Index.hst", "Index8122024.htm"}) std::remove(dir.Path(folder + f).c_str());
    WriteProject("dom.example", "Index", Project({{"submitcustom", "0"}}));
    MakeRun();
    run->OnCompletionStep = [&](TCompletionStep step) { return step != c.killedAt; };
    Add();
    run->Start();
    ASSERT_TRUE(Finish());
    EXPECT_EQ(dir.Read(folder + "Index.zro").find("lastsub=" + regional::FormatDate(now.date())) !=
                  std::string::npos,
              c.dates);
    EXPECT_EQ(dir.Exists(folder + "Index8122024.htm"), c.report);
    const auto lines = ReadHistoryLines(dir.Path(folder + "Index.hst"));
    EXPECT_EQ(lines.size() == 2, c.history);
    for (const std::string& report : ReportFilesOf(dir.AppFolder(), lines))
      EXPECT_TRUE(std::filesystem::exists(report)) << report;
    // The next start: a project whose dates moved is passed over today.
    MakeRun();
    Add();
    EXPECT_EQ(run->Total(), c.dates ? 0 : 1);
  }
}

TEST_F(SubmitRun, ALateEndAfterResetOrANewEntryChangesNothing) {
  WriteProject("dom.example", "Index", Project({{"submitcustom", "0"}}));
  WriteProject("dom.example", "_b.htm", Project({{"submitcustom", "0"}}));
  Prepare({Engine("silent1", "silent"), Engine("ok1", "ok")}, {}, 1);
  Add({"Index", "/b.htm"});
  run->Start();
  ASSERT_TRUE(RunUntil([&] { return server.Received().size() == 1; }));
  run->Stop();  // the silent request's end is still to come
  EXPECT_EQ(run->Buttons(), (TRunButtons{true, false, false, true}));
  run->Start();  // the next entry begins before the aborted request has ended
  EXPECT_EQ(run->Current(), 1);
  ASSERT_TRUE(Finish());
  EXPECT_EQ(run->Queue().Entries()[1].lines[kFailedLine], "Failed:");
  EXPECT_EQ(run->Queue().Entries()[1].lines[kTimeoutLine], "Timeout: 1");  // its own silent one
  EXPECT_EQ(run->Queue().Entries()[1].lines[kOkLine], "OK 1");
  EXPECT_EQ(run->Queue().Entries()[0].lines[kFailedLine], "Failed:");  // stopped before its end
  EXPECT_EQ(run->Rows()[0].result, "Request Timeout");
  EXPECT_EQ(run->InFlight(), 0);
}

TEST_F(SubmitRun, ResetWhileRequestsAreUnderWayLeavesAnEmptyRun) {
  WriteProject("dom.example", "Index", Project({{"submitcustom", "0"}}));
  WriteProject("dom.example", "_b.htm", Project({{"submitcustom", "0"}}));
  Prepare({Engine("slow1", "slow"), Engine("slow2", "slow")}, {}, 2);
  int cleared = 0;
  run->OnRowsCleared = [&] { ++cleared; };
  Add({"Index"});
  run->Start();
  EXPECT_EQ(cleared, 1);  // the entry began with an empty list
  ASSERT_TRUE(RunUntil([&] { return run->LiveRequests() == 2; }));
  EXPECT_EQ(run->ProgressText(), "dom.example [Index]: 0 / 2");
  Add({"/b.htm"});  // Reset goes on while the run is active
  run->Reset();
  EXPECT_EQ(cleared, 2);
  EXPECT_EQ(run->ProgressText(), "");
  EXPECT_TRUE(run->Queue().Entries().empty());
  EXPECT_TRUE(run->Rows().empty());
  EXPECT_EQ(run->Buttons(), TRunButtons{});
  ASSERT_TRUE(RunUntil([&] { return run->LiveRequests() == 0; }));
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(run->InFlight(), 0);
  EXPECT_TRUE(run->Rows().empty());
  EXPECT_EQ(run->Total(), 0);
  EXPECT_EQ(run->Completed(), 0);
}

TEST_F(SubmitRun, TheScanAbortsOneOverdueRequestPerScanAcrossMidnight) {
  now = QDateTime(QDate(2024, 8, 12), QTime(23, 59, 50));
  WriteProject("dom.example", "Index", Project({{"submitcustom", "0"}}));
  Prepare({Engine("silent1", "silent"), Engine("silent2", "silent")}, {}, 5);
  Add();
  run->Start();
  ASSERT_TRUE(RunUntil([&] { return server.Received().size() == 2; }));
  auto scan = [&] {
    for (int i = 0; i < 17; ++i) run->Tick();
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  };
  now = now.addSecs(30);  // not yet past the deadline
  scan();
  EXPECT_EQ(run->LiveRequests(), 2);
  now = now.addSecs(1);  // 00:00:21 on the next day
  for (int i = 0; i < 16; ++i) run->Tick();
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(run->LiveRequests(), 2);  // sixteen ticks are not a scan
  run->Tick();
  ASSERT_TRUE(RunUntil([&] { return run->LiveRequests() == 1; }));
  EXPECT_EQ(run->Rows()[0].result, "Request Timeout");
  EXPECT_EQ(run->Rows()[1].result, "");
  scan();
  ASSERT_TRUE(RunUntil([&] { return Idle(); }));
  EXPECT_EQ(run->Rows()[1].result, "Request Timeout");
  EXPECT_EQ(Line(kTimeoutLine), "Timeout: 2");
}

TEST_F(SubmitRun, CancelOfTheOnlyWaitingEntrySwitchesStartAndResetOff) {
  WriteProject("dom.example", "Index", Project({{"submitengines", "0"}, {"submitffa", "0"}, {"submitnetworks", "0"}}));
  WriteProject("dom.example", "_b.htm", Project());
  Prepare({Engine("a", "ok")});
  Add({"Index"});
  run->Start();
  ASSERT_TRUE(Finish());
  Add({"/b.htm"});
  EXPECT_EQ(run->Buttons(), (TRunButtons{true, false, false, true}));
  run->Cancel(0);  // a complete entry carries no link
  EXPECT_EQ(run->Queue().Entries().size(), 2u);
  run->Cancel(1);
  EXPECT_EQ(run->Queue().Entries().size(), 1u);
  EXPECT_EQ(run->Buttons(), (TRunButtons{false, false, false, false}));
}

TEST_F(SubmitRun, AProjectSavedDuringTheRunAppliesToTheRecordsThatFollow) {
  std::vector<TValues> main;
  for (int i = 0; i < 4; ++i) main.push_back(Engine("e" + std::to_string(i), "slow", "ENGINE", {{"title", "t"}}));
  const std::string file = "data/domains/projects/dom.example/Index.zro";
  WriteProject("dom.example", "Index", Project({{"submitcustom", "0"}, {"title", "Before"}}));
  Prepare(main, {}, 1);  // one request at a time: each record is built after the last answer
  Add();
  run->Start();
  // Saved in place while the first request is under way (the server answers after 50 ms).
  ASSERT_TRUE(RunUntil([&] { return server.Received().size() >= 1; }));
  WriteProject("dom.example", "Index", Project({{"submitcustom", "0"}, {"title", "After"}}));
  // Replaced by a file of the same size while the second is under way.
  ASSERT_TRUE(RunUntil([&] { return server.Received().size() >= 2; }));
  WriteFileAtomically(dir.Path(file), test::ProjectFileText("Index", Project({{"submitcustom", "0"}, {"title", "Again"}})));
  ASSERT_TRUE(Finish());
  std::vector<std::string> titles;
  for (const auto& r : server.Received()) {
    const size_t at = r.bytes.find("&t=");
    titles.push_back(at == std::string::npos ? "" : r.bytes.substr(at + 3, r.bytes.find_first_of("& ", at + 3) - at - 3));
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"Before", "After", "Again", "Again"}));
  EXPECT_EQ(Line(kOkLine), "OK 4");
}

TEST_F(SubmitRun, AFileThatCannotBeReadIsShownAndTheRunGoesOn) {
  WriteProject("dom.example", "Index", Project({{"submitcustom", "0"}}));
  WriteProject("dom.example", "_b.htm", Project({{"submitcustom", "0"}}));
  Prepare({Engine("a", "ok")});
  Add({"Index", "/b.htm"});
  // The first project's file becomes unreadable after it was queued; the report template too.
  std::remove(dir.Path("data/domains/projects/dom.example/Index.zro").c_str());
  std::filesystem::create_directory(dir.Path("data/domains/projects/dom.example/Index.zro"));
  std::remove(dir.Path("data/domains/report-template.htm").c_str());
  run->Start();
  ASSERT_TRUE(RunUntil([&] { return run->Queue().Entries()[0].state == TEntryState::Stopped; }));
  ASSERT_FALSE(answerer.Calls().empty());
  EXPECT_EQ(answerer.Calls()[0].type, TMsgDlgType::Error);
  EXPECT_EQ(run->Buttons(), (TRunButtons{true, false, false, true}));
  run->Start();
  ASSERT_TRUE(Finish());
  EXPECT_EQ(run->Queue().Entries()[1].lines[kOkLine], "OK 1");
  // Without its template the report is not written, and the history line says so.
  const auto lines = ReadHistoryLines(dir.Path("data/domains/projects/dom.example/_b.htm.hst"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "8/12/2024,No,Completed,No,");
  EXPECT_EQ(run->Buttons(), (TRunButtons{false, false, false, true}));
}

}  // namespace
}  // namespace qs
