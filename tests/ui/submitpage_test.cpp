// The Submit page driven as a user drives it: checked projects queued and submitted to the
// practice engine server, the run's commands and their button states, the cancel link, the
// manual engine list and the scheduler's panel.
#include "ui/submitpage.h"

#include <QHeaderView>
#include <QLCDNumber>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>
#include <cstdlib>
#include <map>

#include "app/clock.h"
#include "enginetable.h"
#include "platform/regional.h"
#include "projects/naming.h"
#include "practiceserver.h"
#include "ui/activitymodel.h"
#include "ui/busyindicator.h"
#include "ui/desktopfixture.h"
#include "ui/htmldelegate.h"
#include "ui/projectspage.h"
#include "ui/runqueuemodel.h"
#include "ui/tabstrip.h"

namespace qs::test {
namespace {

using TValues = std::map<std::string, std::string>;

// What each practice behaviour must end as.
TRowImage Expected(const std::string& behaviour) {
  static const std::map<std::string, TRowImage> classes{
      {"ok", TRowImage::Ok},          {"found", TRowImage::Ok},      {"moved", TRowImage::Ok},
      {"noreason", TRowImage::Ok},    {"slow", TRowImage::Ok},       {"missing", TRowImage::Failed},
      {"error", TRowImage::Failed},   {"close", TRowImage::Failed},  {"html", TRowImage::Failed},
      {"timeout", TRowImage::TimedOut}, {"silent", TRowImage::TimedOut}};
  return classes.at(behaviour);
}

class SubmitPageTest : public DesktopTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listen());
    server.SetSlowMs(40);
    clock::Set([this] { return now; });
  }
  void TearDown() override {
    form.reset();
    clock::Set(nullptr);
  }

  // The site with the projects "Index" and "/page.htm"; `lastsub` of both as given.
  void WriteSite(const std::string& lastsub = "") {
    dir.Write("dfd.ini", "[Application]\r\nupdate=1\r\nports=" + std::to_string(ports) +
                             "\r\ntimeout=30\r\n");
    dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nsite.com\r\n");
    dir.Write("data/domains/site.com.zro", "[Session]\r\nCount=2\r\n[List]\r\nIndex\r\n/page.htm\r\n");
    for (const auto& [name, key] : {std::pair{"Index", "Index"}, std::pair{"/page.htm", "_page.htm"}}) {
      const std::string path = name == std::string("Index") ? "" : name;
      dir.Write(std::string("data/domains/projects/site.com/") + key + ".zro",
                std::string("[") + key + "]\r\nurl=http://site.com" + path + "\r\ntitle=T\r\n" +
                    "submitengines=-1\r\nsubmitffa=-1\r\nsubmitnetworks=-1\r\nsubmitcustom=1\r\n" +
                    "genreport=-1\r\nlastsub=" + lastsub + "\r\n");
    }
  }
  // Main table: one record of every behaviour, then one home-page-only record; custom: two.
  void WriteTables(const std::vector<std::string>& behaviours) {
    std::string main, custom;
    int n = 0;
    for (const std::string& b : behaviours) {
      const std::string name = b + "-" + std::to_string(++n);
      main += practice::EngineLine({{"e_name", name},
                                    {"enginetype", n % 3 == 0 ? "FFA" : "ENGINE"},
                                    {"e_count", "1"},
                                    {"e_url", server.Base() + "/home/" + name},
                                    {"cgi_url", server.Base() + "/" + b + "/" + name},
                                    {"method", n % 2 ? "GET" : "POST"},
                                    {"url", "url"}});
    }
    main += practice::EngineLine({{"e_name", "ok-indexonly"}, {"enginetype", "ENGINE"},
                                  {"e_count", "1"}, {"e_index", "Index Only"},
                                  {"cgi_url", server.Base() + "/ok/indexonly"}, {"url", "url"}});
    for (const char* name : {"ok-custom", "error-custom"})
      custom += practice::EngineLine({{"e_name", name}, {"enginetype", "NETWORKS"}, {"e_count", "3"},
                                      {"cgi_url", server.Base() + "/" + std::string(name).substr(0, std::string(name).find('-')) + "/c"},
                                      {"url", "url"}});
    dir.Write("data/data.czc", main);
    dir.Write("data/datac.czc", custom);
  }
  TForm1& OpenPage() {
    Open();
    form->ChooseTab(TPage::Submit);
    return *form;
  }
  TSubmitPage& Page() { return *form->SubmitPage(); }
  void CheckAll() {
    QListWidget* list = form->ProjectList();
    for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Checked);
  }
  void Click(const char* button) {
    QPushButton* b = Page().Button(button);
    ASSERT_NE(b, nullptr) << button;
    ASSERT_TRUE(b->isEnabled()) << button;
    QTest::mouseClick(b, Qt::LeftButton);
  }
  // The buttons as the window shows them: Start, Pause, Stop, Reset.
  std::string Buttons() {
    std::string s;
    for (const char* b : {"Start", "Pause", "Stop", "Reset"}) s += Page().Button(b)->isEnabled() ? '1' : '0';
    return s;
  }
  // Runs the event loop until `done`; once every request under way is one the server never
  // answers, the clock moves past the time-out and the scans run.
  bool RunUntil(const std::function<bool()>& done, int ms = 20000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
      if (deadline.hasExpired()) return false;
      TRunControl& run = form->Run();
      if (run.Active() && run.LiveRequests() > 0 && OnlySilentUnderWay()) {
        now = now.addSecs(31);
        for (int i = 0; i < 17; ++i) run.Tick();
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
  }
  bool OnlySilentUnderWay() {
    int underWay = 0, silent = 0;
    for (const ActivityRow& r : form->Run().Rows()) {
      if (r.image != TRowImage::UnderWay) continue;
      ++underWay;
      silent += r.engine.rfind("silent", 0) == 0;
    }
    int received = 0;
    for (const auto& r : server.Received()) received += r.path.rfind("/silent/", 0) == 0;
    return underWay > 0 && underWay == silent && received >= silent;
  }
  bool Idle() { return form->Run().Total() == form->Run().Completed() && form->Run().LiveRequests() == 0; }
  // The text of line `line` of entry `entry` as the tree shows it.
  QString ShownLine(int entry, int line) {
    auto* model = Page().QueueView()->model();
    return model->index(line, 0, model->index(entry, 0)).data().toString();
  }

  practice::TPracticeServer server;
  QDateTime now{QDate(2024, 8, 12), QTime(10, 0, 0)};
  int ports = 5;
};

TEST_F(SubmitPageTest, CheckedProjectsAreSubmittedAndEveryAnswerShowsAsItArrives) {
  const std::vector<std::string> behaviours{"ok",      "found",    "moved",  "missing",
                                            "error",   "timeout",  "noreason", "slow",
                                            "silent",  "close",    "html"};
  WriteSite();
  WriteTables(behaviours);
  OpenPage();
  EXPECT_EQ(Buttons(), "0000");
  CheckAll();
  Click("AddChecked");

  // Both entries, expanded, with their seven lines as the run made them.
  QTreeView* tree = Page().QueueView();
  ASSERT_EQ(tree->model()->rowCount(), 2);
  for (int e = 0; e < 2; ++e) {
    EXPECT_TRUE(tree->isExpanded(tree->model()->index(e, 0)));
    EXPECT_EQ(tree->model()->rowCount(tree->model()->index(e, 0)), kEntryLines);
    for (int l = 0; l < kEntryLines; ++l)
      EXPECT_EQ(ShownLine(e, l).toStdString(), form->Run().Queue().Entries()[size_t(e)].lines[size_t(l)]);
  }
  EXPECT_NE(ShownLine(0, kStatusLine).toStdString().find("href=\"cancel\""), std::string::npos);
  EXPECT_EQ(Page().TotalCounter()->intValue(), 2);
  EXPECT_EQ(Buttons(), "1001");

  // What the page showed of each entry when it ended, and what the window said meanwhile.
  struct TShown {
    std::string project;
    std::vector<std::pair<std::string, TRowImage>> rows;  // engine, image shown
    std::vector<std::string> results;
    std::array<std::string, kEntryLines> lines;
    long long decided = 0, expected = 0;
  };
  std::vector<TShown> ended;
  bool progressShown = false, busyShown = false;
  form->Run().OnEntryEnded = [&](const RunEntry& entry) {
    TShown shown{entry.project, {}, {}, {}, form->Run().DecidedWeight(), entry.expectedTotal};
    TActivityModel* m = Page().Activity();
    m->Flush();  // what the list shows once its last batch is announced
    EXPECT_EQ(size_t(m->rowCount()), form->Run().Rows().size());
    for (int r = 0; r < m->rowCount(); ++r) {
      const QIcon icon = m->index(r, TActivityModel::kEngines).data(Qt::DecorationRole).value<QIcon>();
      TRowImage image = TRowImage::None;
      for (int i = -1; i <= 4; ++i)
        if (TActivityModel::StateIcon(TRowImage(i)).cacheKey() == icon.cacheKey()) image = TRowImage(i);
      shown.rows.emplace_back(m->index(r, TActivityModel::kEngines).data().toString().toStdString(), image);
      shown.results.push_back(m->index(r, TActivityModel::kResult).data().toString().toStdString());
      EXPECT_EQ(shown.results.back(), form->Run().Rows()[size_t(r)].result);
    }
    for (int n = 0; n < tree->model()->rowCount(); ++n)
      if (tree->model()->index(n, 0).data().toString().toStdString() == entry.DisplayText())
        for (int l = 0; l < kEntryLines; ++l) shown.lines[size_t(l)] = ShownLine(n, l).toStdString();
    ended.push_back(std::move(shown));
  };
  const int historyBefore = form->ProjectsPage()->HistoryGrid()->rowCount();
  Click("Start");
  EXPECT_EQ(Buttons(), "0110");
  ASSERT_TRUE(RunUntil([&] {
    // The status bar names the entry under way and how much of its expected total is decided.
    const std::string status = form->statusBar()->currentMessage().toStdString();
    if (!status.empty()) {
      const RunEntry& current = form->Run().Queue().Entries()[size_t(form->Run().Current())];
      const std::string total = " / " + std::to_string(current.expectedTotal);
      const bool shaped = status.rfind(current.DisplayText() + ": ", 0) == 0 &&
                          status.size() > total.size() &&
                          status.compare(status.size() - total.size(), total.size(), total) == 0;
      EXPECT_TRUE(shaped) << status;
      progressShown |= shaped;
    }
    busyShown |= Page().Busy()->Shown();
    return Idle();
  }));
  ASSERT_EQ(ended.size(), 2u);
  EXPECT_TRUE(progressShown);
  EXPECT_TRUE(busyShown);
  EXPECT_FALSE(Page().Busy()->Shown());
  EXPECT_TRUE(form->statusBar()->currentMessage().isEmpty());

  for (const TShown& e : ended) {
    SCOPED_TRACE(e.project);
    // One row per visited record: every behaviour, the home-page-only record, two custom.
    ASSERT_EQ(e.rows.size(), behaviours.size() + 3);
    for (size_t r = 0; r < e.rows.size(); ++r) {
      const std::string& engine = e.rows[r].first;
      const std::string behaviour = engine.substr(0, engine.find('-'));
      TRowImage expected = Expected(behaviour);
      if (engine == "ok-indexonly" && e.project != "Index") expected = TRowImage::Skipped;
      EXPECT_EQ(int(e.rows[r].second), int(expected)) << engine << " " << e.results[r];
    }
    EXPECT_EQ(e.decided, e.expected);
    // The seven lines shown are the run's summary.
    const RunEntry& run = *std::find_if(form->Run().Queue().Entries().begin(), form->Run().Queue().Entries().end(),
                                        [&](const RunEntry& x) { return x.project == e.project; });
    for (int l = 0; l < kEntryLines; ++l) EXPECT_EQ(e.lines[size_t(l)], run.lines[size_t(l)]) << l;
    EXPECT_EQ(e.lines[kStatusLine], Text("106"));
  }
  // Index: ok, found, moved, noreason, slow and the home-page-only record, and ok-custom
  // weighing 3.
  for (const RunEntry& e : form->Run().Queue().Entries())
    EXPECT_EQ(e.ok, e.project == "Index" ? 9 : 8) << e.project;
  EXPECT_EQ(Page().CompletedCounter()->intValue(), 2);
  EXPECT_EQ(Buttons(), "0001");
  // The open project's history shows the line its run wrote.
  EXPECT_EQ(form->ProjectsPage()->HistoryGrid()->rowCount(), historyBefore + 1);
}

TEST_F(SubmitPageTest, TheActivityListFollowsTheNewestRowUntilTheUserScrollsAway) {
  server.SetSlowMs(20);
  ports = 1;
  WriteSite();
  WriteTables(std::vector<std::string>(60, "slow"));
  OpenPage();
  form->resize(900, 640);
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->ProjectList()->item(0)->setCheckState(Qt::Checked);
  Click("AddChecked");
  TRunControl& run = form->Run();
  QScrollBar* bar = Page().ActivityView()->verticalScrollBar();
  // Runs until `rows` more rows are in, then pauses and lets the list settle.
  auto runFor = [&](size_t rows) {
    const size_t target = run.Rows().size() + rows;
    if (!run.Active()) Click("Start");
    ASSERT_TRUE(RunUntil([&] { return run.Rows().size() >= target && bar->maximum() > 0; }));
    Click("Pause");
    ASSERT_TRUE(RunUntil([&] { return run.LiveRequests() == 0; }));
    QTest::qWait(150);
  };
  runFor(30);
  EXPECT_EQ(bar->value(), bar->maximum());  // following

  bar->setValue(0);  // the user scrolls back to the top
  runFor(10);
  EXPECT_EQ(bar->value(), 0);

  bar->setValue(bar->maximum());  // and down to the end again: it follows again
  runFor(10);
  EXPECT_EQ(bar->value(), bar->maximum());
  Click("Stop");
}

TEST_F(SubmitPageTest, PauseStopAndResetFollowTheRunsButtonTable) {
  server.SetSlowMs(300);
  ports = 2;
  WriteSite();
  WriteTables(std::vector<std::string>(12, "slow"));
  OpenPage();
  CheckAll();
  TRunControl& run = form->Run();
  const struct {
    const char* command;
    const char* buttons;  // Start, Pause, Stop, Reset after it
    const char* status;   // the current entry's status line key, or none
  } steps[] = {
      {"AddChecked", "1001", nullptr},
      {"Start", "0110", "136"},
      {"Pause", "1010", "129"},
      {"Start", "0110", "136"},
      {"Stop", "1001", "131"},  // one entry is still waiting
      {"Reset", "0000", nullptr},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.command);
    Click(step.command);
    EXPECT_EQ(Buttons(), step.buttons);
    if (step.status) {
      EXPECT_EQ(ShownLine(0, kStatusLine).toStdString(), Text(step.status));
    }
    if (std::string(step.command) == "Start") {
      ASSERT_TRUE(RunUntil([&] { return run.Rows().size() >= 3; }));
    }
    if (std::string(step.command) == "Pause") {
      // What was in flight ends; nothing new starts while paused.
      ASSERT_TRUE(RunUntil([&] { return run.LiveRequests() == 0; }));
      QTest::qWait(2 * TActivityModel::kFlushMs);  // the rows made before Pause are shown
      const int rows = Page().Activity()->rowCount();
      EXPECT_EQ(size_t(rows), run.Rows().size());
      const size_t received = server.Received().size();
      QTest::qWait(700);
      EXPECT_EQ(Page().Activity()->rowCount(), rows);
      EXPECT_EQ(server.Received().size(), received);
    }
    if (std::string(step.command) == "Stop") {
      // The stopped entry wrote its history line at once.
      const std::string history = dir.Read("data/domains/projects/site.com/" +
                                            ProjectKeyOf(run.Queue().Entries()[0].project) + ".hst");
      EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 2) << history;
      EXPECT_EQ(Page().CompletedCounter()->intValue(), 1);
    }
  }
  EXPECT_EQ(Page().QueueView()->model()->rowCount(), 0);
  EXPECT_EQ(Page().Activity()->rowCount(), 0);
  EXPECT_EQ(Page().TotalCounter()->intValue(), 0);
}

TEST_F(SubmitPageTest, TheCancelLinkRemovesAWaitingEntryAndSubmittedProjectsAreRefused) {
  WriteSite();
  WriteTables({"ok"});
  OpenPage();
  CheckAll();
  Click("AddChecked");
  form->show();  // the link is clicked where the window draws it
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QTreeView* tree = Page().QueueView();
  ASSERT_EQ(tree->model()->rowCount(), 2);
  const std::string firstEntry = form->Run().Queue().Entries()[0].DisplayText();

  // Click where the second entry's status line draws its link.
  const QModelIndex status = tree->model()->index(kStatusLine, 0, tree->model()->index(1, 0));
  tree->scrollTo(status);
  const QRect rect = tree->visualRect(status);
  int first = -1, last = -1;
  for (int x = 0; x < rect.width(); ++x)
    if (THtmlDelegate::AnchorAt(status.data().toString(), tree->font(), QPointF(x, rect.height() / 2.0)) ==
        QLatin1String("cancel")) {
      if (first < 0) first = x;
      last = x;
    }
  ASSERT_GE(first, 0) << "no link drawn";
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(rect.left() + (first + last) / 2, rect.center().y()));
  ASSERT_EQ(tree->model()->rowCount(), 1);
  EXPECT_EQ(tree->model()->index(0, 0).data().toString().toStdString(), firstEntry);
  EXPECT_EQ(Page().TotalCounter()->intValue(), 1);

  // Delete on the last waiting entry cancels it too: nothing is left to start.
  tree->setCurrentIndex(tree->model()->index(0, 0));
  QTest::keyClick(tree, Qt::Key_Delete);
  EXPECT_EQ(tree->model()->rowCount(), 0);
  EXPECT_EQ(Buttons(), "0000");

  // Projects submitted today: one message for each, nothing queued.
  WriteSite(regional::FormatDate(now.date()));
  Click("AddChecked");
  EXPECT_EQ(tree->model()->rowCount(), 0);
  EXPECT_EQ(std::count_if(answers.Calls().begin(), answers.Calls().end(),
                          [&](const auto& call) { return call.text == Text("skippro"); }),
            2);
  EXPECT_EQ(Buttons(), "0000");
}

TEST_F(SubmitPageTest, StartAsksForAnUpdatedDatabaseAndARunKeepsTheDatabaseTabClosed) {
  WriteSite();
  WriteTables(std::vector<std::string>(6, "silent"));
  dir.Write("dfd.ini", "[Application]\r\nupdate=0\r\nports=5\r\ntimeout=30\r\n");
  OpenPage();
  CheckAll();
  Click("AddChecked");
  // Never updated: Yes opens the Database page's update panel, No stays; neither starts.
  const struct {
    int answer;
    TPage page;
  } answersToUpdate[] = {{mrNo, TPage::Submit}, {mrYes, TPage::Database}};
  for (const auto& c : answersToUpdate) {
    form->ChooseTab(TPage::Submit);
    answers.Answer(c.answer);
    Click("Start");
    EXPECT_EQ(answers.Calls().back().text, Text("170"));
    EXPECT_EQ(form->CurrentPage(), c.page);
    EXPECT_EQ(Buttons(), "1001");
    EXPECT_FALSE(form->Run().Active());
  }

  dir.Write("dfd.ini", "[Application]\r\nupdate=1\r\nports=5\r\ntimeout=30\r\n");
  form->ChooseTab(TPage::Submit);
  Click("Start");
  ASSERT_TRUE(form->Run().Active());
  answers.Answer(mrOk);
  QTest::mouseClick(form->Tabs()->Tab(6), Qt::LeftButton);  // the Database tab
  EXPECT_EQ(answers.Calls().back().text, Text("nodbedit"));
  EXPECT_EQ(form->CurrentPage(), TPage::Submit);
}

TEST_F(SubmitPageTest, TheManualListShowsItsEnginesAndOpensTheirAddresses) {
  WriteSite();
  dir.Write("data/datam.czc",
            "Alpha,http://alpha.example/,http://alpha.example/add\r\n"
            "\"Beta, Inc\",https://beta.example/,https://beta.example/submit?x=1\r\n"
            "Gamma,file:///etc/passwd,http://gamma.example/add\r\n");
  dir.Write("opener", "#!/bin/sh\necho \"$1\" >> " + dir.Path("opened") + "\n");
  std::system(("chmod +x " + dir.Path("opener")).c_str());
  ::setenv("QUORVEX_OPENER", dir.Path("opener").c_str(), 1);
  OpenPage();
  form->Command("actManualEngines")->trigger();
  EXPECT_EQ(Page().OpenedPanel(), TSubmitPanel::Manual);
  QTableView* view = Page().ManualView();
  ASSERT_EQ(view->model()->rowCount(), 3);
  EXPECT_EQ(Page().ManualCount()->text(), QStringLiteral("3"));
  EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal).toString().toStdString(), Text("187"));
  EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString().toStdString(), Text("192"));
  EXPECT_EQ(view->model()->headerData(2, Qt::Horizontal).toString().toStdString(), Text("193"));
  EXPECT_EQ(view->model()->index(1, 0).data().toString(), QStringLiteral("Beta, Inc"));

  auto click = [&](int row, int column) {
    const QRect r = view->visualRect(view->model()->index(row, column));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
  };
  click(0, 0);  // a name is no link
  click(1, 2);
  click(2, 1);  // not a web address
  view->setCurrentIndex(view->model()->index(0, 1));
  QTest::keyClick(view, Qt::Key_Return);
  QDeadlineTimer deadline(10000);
  auto lines = [&] {
    const std::string text = dir.Read("opened");
    return std::count(text.begin(), text.end(), '\n');
  };
  while (lines() < 2 && !deadline.hasExpired()) QTest::qWait(20);
  QTest::qWait(200);
  ::unsetenv("QUORVEX_OPENER");
  const std::string opened = dir.Read("opened");
  EXPECT_NE(opened.find("https://beta.example/submit?x=1\n"), std::string::npos) << opened;
  EXPECT_NE(opened.find("http://alpha.example/\n"), std::string::npos) << opened;
  EXPECT_EQ(std::count(opened.begin(), opened.end(), '\n'), 2) << opened;
}

TEST_F(SubmitPageTest, TheSchedulerPanelStartsListsLogsAndStops) {
  WriteSite();
  const std::string line = "site.com|Index=" + regional::FormatDate(now.date()) + "|" +
                           regional::FormatDate(now.date().addDays(30)) + "|" +
                           regional::FormatTime(QTime(9, 0)) + "|7";
  dir.Write("data/schedule.sch", "[scheduled]\r\n" + line + "\r\n");
  OpenPage();
  form->Command("actScheduledOpen")->trigger();
  EXPECT_EQ(Page().OpenedPanel(), TSubmitPanel::Scheduled);
  EXPECT_EQ(Page().SchedulerStatus()->text().toStdString(), Text("label15"));
  EXPECT_FALSE(Page().Button("StopScheduler")->isEnabled());

  Click("StartScheduler");
  EXPECT_TRUE(form->Tray()->isVisible());
  EXPECT_EQ(Page().SchedulerStatus()->text().toStdString(), Text("397"));
  EXPECT_FALSE(Page().Button("StartScheduler")->isEnabled());
  EXPECT_FALSE(form->Command("actSchedulerStart")->isEnabled());
  QAbstractItemModel* log = Page().LogView()->model();
  std::vector<std::string> lines;
  for (int i = 0; i < log->rowCount(); ++i) lines.push_back(log->index(i, 0).data().toString().toStdString());
  EXPECT_EQ(lines, (std::vector<std::string>{Text("369"), Text("370"), Text("371"), Text("372")}));
  QAbstractItemModel* list = Page().ScheduledView()->model();
  ASSERT_EQ(list->rowCount(), 1);
  EXPECT_EQ(list->index(0, 0).data().toString(), QStringLiteral("site.com"));
  EXPECT_EQ(list->index(0, 1).data().toString(), QStringLiteral("Index"));
  EXPECT_EQ(list->index(0, 2).data().toString().toStdString(), regional::FormatDate(now.date()));
  EXPECT_EQ(Page().ScheduledCounter()->intValue(), 1);

  Click("ClearLog");
  EXPECT_EQ(log->rowCount(), 0);

  form->Command("actSchedulerStop")->trigger();  // the menu's Stop, shown on the panel
  EXPECT_FALSE(form->Tray()->isVisible());
  EXPECT_EQ(Page().SchedulerStatus()->text().toStdString(), Text("label15"));
  EXPECT_TRUE(Page().Button("StartScheduler")->isEnabled());
  EXPECT_EQ(list->rowCount(), 0);
  EXPECT_EQ(Page().ScheduledCounter()->intValue(), 0);
  ASSERT_EQ(log->rowCount(), 1);
  EXPECT_EQ(log->index(0, 0).data().toString().toStdString(), Text("373"));
}

}  // namespace
}  // namespace qs::test
