// The Ranking page driven as a user drives it: a check of two engines against scripted result
// pages on loopback, Stop during the second engine, the hit links, the project's URL and
// keywords, the engine list's pop-up commands, and the History panel with its table of
// changes, its chart and what it says about a hand-broken history file.
#include "ui/rankingpage.h"

#include <QChart>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <QValueAxis>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/clock.h"
#include "app/text.h"
#include "cli/rankcommand.h"
#include "ranking/rankhistory.h"
#include "support/scriptserver.h"
#include "ui/desktopfixture.h"
#include "ui/htmldelegate.h"
#include "ui/rankhistorymodel.h"

namespace qs::test {
namespace {

const std::string kSite = "http://www.site.test/";
const std::string kMarker = "<a class=r href=\"";
const char* kHistory = "data/domains/projects/site.test/Index.rnk";

// A result page of ten results with the site at `position` (0: not on the page).
std::string ResultPage(int position) {
  std::string body = "<html><body>\n";
  for (int n = 1; n <= 10; ++n)
    body += "<li>" + kMarker + (n == position ? kSite : "http://other" + std::to_string(n) + ".test/") +
            "\">r</a></li>\n";
  return body + "</body></html>\n";
}

Script Answer(int position) {
  return {Write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + ResultPage(position)), Close()};
}

class RankingPageTest : public DesktopTest {
 protected:
  void SetUp() override {
    clock::Set([this] { return now; });
    dir.Write("dfd.ini", "[Application]\r\nupdate=1\r\n");
    dir.Write("data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nsite.test\r\n");
    dir.Write("data/domains/site.test.zro", "[Session]\r\nCount=1\r\n[List]\r\nIndex\r\n");
    dir.Write("data/domains/projects/site.test/Index.zro",
              "[Index]\r\nurl=" + kSite + "\r\nkey1=widgets, blue widgets\r\n");
    dir.Write("data/ranking.czc",
              ReplaceAll("[List]\nBeta\nAlpha\n"
                         "[Alpha]\nurl=@/alpha?q=$keyword\nsearch=" + kMarker + "\n"
                         "[Beta]\nurl=@/beta?q=$keyword\nsearch=" + kMarker + "\n",
                         "@", server.Base()));
  }
  void TearDown() override {
    form.reset();
    clock::Set(nullptr);
    ::unsetenv("QUORVEX_OPENER");
  }

  TRankingPage& OpenPage() {
    Open();
    form->ChooseTab(TPage::Ranking);
    return Page();
  }
  TRankingPage& Page() { return *form->RankingPage(); }
  // A second project, listed before Index (and so the one selected at start).
  void AddShop() {
    dir.Write("data/domains/site.test.zro",
              "[Session]\r\nCount=2\r\n[List]\r\nIndex\r\n/shop.htm\r\n");
    dir.Write("data/domains/projects/site.test/_shop.htm.zro",
              "[_shop.htm]\r\nurl=http://www.site.test/shop.htm\r\nkey1=shop\r\n");
  }
  void SelectAll() {
    Page().findChild<QAction*>(QStringLiteral("actRankSelectAll"))->trigger();
  }
  void Start() {
    ASSERT_TRUE(Page().StartRank()->isEnabled());
    QTest::mouseClick(Page().StartRank(), Qt::LeftButton);
  }
  bool RunUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(20000);
    while (!done()) {
      if (deadline.hasExpired()) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
  }
  bool RunUntilIdle() { return RunUntil([this] { return !Page().Run().Running(); }); }
  QAbstractItemModel* Tree() { return Page().RankView()->model(); }
  QString Line(int node, int line) { return Tree()->index(line, 0, Tree()->index(node, 0)).data().toString(); }
  std::string Cell(int row, int column) {
    return Page().HistoryTable()->model()->index(row, column).data().toString().toStdString();
  }
  // The stand-in default handler: every address it is given, a line each.
  void UseOpener() {
    dir.Write("opener", "#!/bin/sh\necho \"$1\" >> " + dir.Path("opened") + "\n");
    std::system(("chmod +x " + dir.Path("opener")).c_str());
    ::setenv("QUORVEX_OPENER", dir.Path("opener").c_str(), 1);
  }
  std::string Opened() {
    RunUntil([this] { return dir.Read("opened").find('\n') != std::string::npos; });
    return dir.Read("opened");
  }

  ScriptServer server;
  QDateTime now{QDate(2026, 4, 1), QTime(9, 0, 0)};
};

TEST_F(RankingPageTest, TwoEnginesShowTheirLinesAndStopDuringTheSecondKeepsOnlyTheFirst) {
  // Alpha answers with the site third; Beta sends a first result, then holds on.
  server.SetScripts({Answer(3), {Write("HTTP/1.0 200 OK\r\n\r\n<li>" + kMarker + kSite + "\">x</a>\n"), Hang()}});
  OpenPage();
  EXPECT_EQ(Page().RankUrl()->text().toStdString(), kSite);  // the project's URL
  EXPECT_EQ(Page().RankKey()->currentText(), QStringLiteral("widgets"));
  EXPECT_EQ(Page().RankPage()->currentText(), QStringLiteral("10"));
  EXPECT_FALSE(Page().StopRank()->isEnabled());
  SelectAll();

  bool stopped = false;
  QObject::connect(Tree(), &QAbstractItemModel::dataChanged, [&] {
    if (!stopped && Tree()->rowCount() == 2 &&
        Line(1, 0).toStdString().rfind(Text("387"), 0) == 0) {
      stopped = true;
      EXPECT_TRUE(Page().StopRank()->isEnabled());
      EXPECT_FALSE(Page().StartRank()->isEnabled());
      QTest::mouseClick(Page().StopRank(), Qt::LeftButton);
    }
  });
  Start();
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_TRUE(stopped);
  ASSERT_TRUE(RunUntil([this] { return Page().Run().HttpRank().State() == THttpState::Ready; }));
  EXPECT_TRUE(Page().StartRank()->isEnabled());
  EXPECT_FALSE(Page().StopRank()->isEnabled());

  // Both engine nodes, in the list's order, expanded, each with its three lines.
  ASSERT_EQ(Tree()->rowCount(), 2);
  const char* engines[] = {"Alpha", "Beta"};
  for (int n = 0; n < 2; ++n) {
    EXPECT_EQ(Tree()->index(n, 0).data().toString().toStdString(), engines[n]);
    EXPECT_TRUE(Page().RankView()->isExpanded(Tree()->index(n, 0)));
    EXPECT_EQ(Tree()->rowCount(Tree()->index(n, 0)), 3);
    EXPECT_EQ(Line(n, 1).toStdString(), Text("385") + "10</b>");
  }
  const std::string alphaPage = server.Base() + "/alpha?q=widgets";
  EXPECT_EQ(Line(0, 0).toStdString(), Text("384"));
  EXPECT_EQ(Line(0, 2).toStdString(),
            Text("383") + "<a href=\"" + alphaPage + "\">" + Text("386") + " 3</a> ");

  // Only the engine that finished its check is in the history.
  const TRankHistoryFile file = ReadRankHistory(dir.Path(kHistory));
  ASSERT_EQ(file.checks.size(), 1u);
  EXPECT_EQ(file.checks[0].engine, "Alpha");
  EXPECT_EQ(file.checks[0].positions, std::vector<int>{3});
  EXPECT_EQ(file.checks[0].resultUrl, alphaPage);
  EXPECT_EQ(Page().HistoryTable()->model()->rowCount(), 1);

  // A click on the hit link, where the window draws it, opens the result page in the browser.
  UseOpener();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QTreeView* tree = Page().RankView();
  const QModelIndex results = Tree()->index(2, 0, Tree()->index(0, 0));
  tree->scrollTo(results);
  const QRect rect = tree->visualRect(results);
  int first = -1, last = -1;
  for (int x = 0; x < rect.width(); ++x)
    if (!THtmlDelegate::AnchorAt(results.data().toString(), tree->font(), QPointF(x, rect.height() / 2.0))
             .isEmpty()) {
      if (first < 0) first = x;
      last = x;
    }
  ASSERT_GE(first, 0) << "no link drawn";
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                    QPoint(rect.left() + (first + last) / 2, rect.center().y()));
  EXPECT_EQ(Opened(), alphaPage + "\n");
}

TEST_F(RankingPageTest, ThreeDaysOfChecksGiveTheChangesAndTheChart) {
  OpenPage();
  SelectAll();
  // Alpha: 5, 2, 4. Beta: not found, 7, 7.
  server.SetScripts({Answer(5), Answer(0), Answer(2), Answer(7), Answer(4), Answer(7)});
  std::vector<QDateTime> days;
  for (int d = 0; d < 3; ++d) {
    now = QDateTime(QDate(2026, 4, 1 + d), QTime(9, 0, 0));
    days.push_back(now);
    Start();
    ASSERT_TRUE(RunUntilIdle());
  }
  form->Command("actRankingOpen")->trigger();
  Page().OpenPanel(TRankingPanel::History);
  EXPECT_EQ(Page().HistoryKeyword()->currentText(), QStringLiteral("widgets"));

  struct Row {
    std::string engine, best, change;
    int direction;
  } rows[] = {{"Alpha", "5", "", 0}, {"Beta", "-", "", 0},       {"Alpha", "2", "+3", 1},
              {"Beta", "7", Text("433"), 1}, {"Alpha", "4", "-2", -1}, {"Beta", "7", "0", 0}};
  QAbstractItemModel* table = Page().HistoryTable()->model();
  ASSERT_EQ(table->rowCount(), 6);
  for (int r = 0; r < 6; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(Cell(r, TRankHistory::kDate),
              regional::FormatDate(days[size_t(r / 2)].date()) + " " +
                  regional::FormatTime(days[size_t(r / 2)].time()));
    EXPECT_EQ(Cell(r, TRankHistory::kEngine), rows[r].engine);
    EXPECT_EQ(Cell(r, TRankHistory::kKeyword), "widgets");
    EXPECT_EQ(Cell(r, TRankHistory::kBest), rows[r].best);
    EXPECT_EQ(Cell(r, TRankHistory::kChange), rows[r].change);
    const QModelIndex change = table->index(r, TRankHistory::kChange);
    const QVariant colour = change.data(Qt::ForegroundRole);
    const QIcon arrow = change.data(Qt::DecorationRole).value<QIcon>();
    if (rows[r].direction == 0) {
      EXPECT_FALSE(colour.isValid());
      EXPECT_TRUE(arrow.isNull());
    } else {
      EXPECT_EQ(colour.value<QColor>(), rows[r].direction > 0 ? TRankHistoryModel::UpColour()
                                                               : TRankHistoryModel::DownColour());
      EXPECT_FALSE(arrow.isNull());
    }
  }
  EXPECT_EQ(table->headerData(TRankHistory::kChange, Qt::Horizontal).toString().toStdString(),
            Text("431"));
  EXPECT_NE(Page().BestEver()->text().toStdString().find(Text("432") + " <b>2</b> (Alpha"),
            std::string::npos);

  // The chart: Alpha one line of three points; Beta's first check a gap, then two points.
  QChart* chart = Page().HistoryChart();
  std::map<std::string, std::vector<std::vector<QPointF>>> lines;
  for (QAbstractSeries* s : chart->series()) {
    auto* line = qobject_cast<QLineSeries*>(s);
    ASSERT_NE(line, nullptr);
    const QList<QPointF> points = line->points();
    if (points.isEmpty()) continue;  // a series kept from an earlier drawing
    lines[line->name().toStdString()].emplace_back(points.begin(), points.end());
  }
  auto at = [&](int day, int position) {
    return QPointF(double(days[size_t(day)].toMSecsSinceEpoch()), position);
  };
  EXPECT_EQ(lines["Alpha"], (std::vector<std::vector<QPointF>>{{at(0, 5), at(1, 2), at(2, 4)}}));
  EXPECT_EQ(lines["Beta"], (std::vector<std::vector<QPointF>>{{at(1, 7), at(2, 7)}}));
  const QString legend = Page().HistoryLegend()->text();
  EXPECT_LT(legend.indexOf(QStringLiteral("Alpha")), legend.indexOf(QStringLiteral("Beta")));
  EXPECT_GE(legend.indexOf(QStringLiteral("Alpha")), 0);
  auto* positions = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
  ASSERT_NE(positions, nullptr);
  EXPECT_TRUE(positions->isReverse());
  EXPECT_EQ(positions->min(), 1);
  EXPECT_EQ(positions->max(), 7);
  auto* time = qobject_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).value(0));
  ASSERT_NE(time, nullptr);
  EXPECT_EQ(time->min(), days[0]);
  EXPECT_EQ(time->max(), days[2]);

  // The command line prints the rows the panel shows.
  std::istringstream in;
  std::ostringstream out, err;
  ASSERT_EQ(RunRankHistoryCommand(dir.AppFolder(), {"site.test", "Index", "--keyword", "widgets", "--csv"},
                                  {in, out, err}),
            0)
      << err.str();
  std::vector<std::string> expected{"Date,Engine,Keyword,Best Position,Change"};
  for (int r = 0; r < 6; ++r) {
    std::string line;
    for (int c = 0; c < TRankHistory::kColumns; ++c) line += (c ? "," : "") + Cell(r, c);
    expected.push_back(line);
  }
  std::vector<std::string> printed;
  const std::string text = out.str();
  for (std::string_view l : SplitLines(text)) printed.emplace_back(l);
  EXPECT_EQ(printed, expected);

  // Cleared, the chart keeps no point of what it showed.
  form->Command("actClearHistory")->trigger();
  for (QAbstractSeries* s : chart->series())
    EXPECT_EQ(qobject_cast<QLineSeries*>(s)->count(), 0);
}

TEST_F(RankingPageTest, ABrokenHistoryShowsWhatCanBeReadAndHowManyLinesWereSkipped) {
  TRankCheck good;
  good.when = now;
  good.engine = "Alpha";
  good.keyword = "widgets";
  good.depth = 10;
  good.positions = {6};
  std::string text = std::string(kRankHistoryHeadings) + "\r\n" + RankCheckLine(good) + "\r\n";
  text += "4/2/2026,9:00:00 AM,Alpha,widgets,ten,6,x\r\nnonsense\r\n";
  good.when = now.addDays(1);
  good.positions = {};
  text += RankCheckLine(good) + "\r\n\"unclosed,\r\n";
  dir.Write(kHistory, text);
  OpenPage();
  EXPECT_EQ(Page().HistoryTable()->model()->rowCount(), 2);
  EXPECT_EQ(Cell(1, TRankHistory::kChange), Text("434"));
  EXPECT_FALSE(Page().HistoryNote()->isHidden());
  EXPECT_EQ(Page().HistoryNote()->text().toStdString(), "3 " + Text("435"));

  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(RunRankHistoryCommand(dir.AppFolder(), {"site.test", "Index"}, {in, out, err}), 0);
  EXPECT_NE(err.str().find("3 " + Text("435")), std::string::npos) << err.str();
  EXPECT_EQ(SplitLines(out.str()).size(), 3u);  // two rows and the best position ever
  EXPECT_EQ(RunRankHistoryCommand(dir.AppFolder(), {"site.test", "Nope"}, {in, out, err}), 1);

  // A history that cannot be read at all is said, and the panel keeps nothing of the last.
  std::filesystem::remove(dir.Path(kHistory));
  std::filesystem::create_directory(dir.Path(kHistory));
  form->ChooseTab(TPage::Ranking);
  EXPECT_EQ(Page().HistoryTable()->model()->rowCount(), 0);
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_NE(answers.Calls()[0].text.find("Index.rnk"), std::string::npos) << answers.Calls()[0].text;
}

TEST_F(RankingPageTest, TheProjectFillsUrlAndKeywordsAndItsHistoryGoesWithIt) {
  AddShop();
  OpenPage();
  QComboBox* key = Page().RankKey();
  EXPECT_EQ(Page().RankUrl()->text(), QStringLiteral("http://www.site.test/shop.htm"));
  ASSERT_EQ(key->count(), 1);
  EXPECT_EQ(key->currentText(), QStringLiteral("shop"));

  // While the page is current the editor's fields reach it.
  form->ProjectList()->setCurrentRow(1);
  EXPECT_EQ(Page().RankUrl()->text().toStdString(), kSite);
  ASSERT_EQ(key->count(), 2);
  EXPECT_EQ(key->itemText(1), QStringLiteral("blue widgets"));
  EXPECT_EQ(key->currentText(), QStringLiteral("shop"));  // the keyword typed stays
  form->Editor().SetText("key1", "red, green");
  ASSERT_EQ(key->count(), 2);
  EXPECT_EQ(key->itemText(0), QStringLiteral("red"));
  form->Editor().SetText("url", "http://www.site.test/?new");
  EXPECT_EQ(Page().RankUrl()->text(), QStringLiteral("http://www.site.test/?new"));
  // Elsewhere they do not.
  form->ChooseTab(TPage::Projects);
  form->Editor().SetText("url", "http://www.site.test/moved.htm");
  EXPECT_EQ(Page().RankUrl()->text(), QStringLiteral("http://www.site.test/?new"));

  // Select All and Deselect All of the engine list's pop-up menu.
  QAbstractItemModel* list = Page().RankEngList()->model();
  ASSERT_EQ(list->rowCount(), 2);
  EXPECT_EQ(list->index(0, 0).data().toString(), QStringLiteral("Alpha"));
  SelectAll();
  for (int r = 0; r < 2; ++r) EXPECT_EQ(list->index(r, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  Page().findChild<QAction*>(QStringLiteral("actRankDeselectAll"))->trigger();
  for (int r = 0; r < 2; ++r) EXPECT_EQ(list->index(r, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_TRUE(list->setData(list->index(1, 0), int(Qt::Checked), Qt::CheckStateRole));
  EXPECT_TRUE(form->Summit().rankEngineList.Checked(1));
  EXPECT_FALSE(form->Summit().rankEngineList.Checked(0));

  // Clear History and deleting the project remove the ranking history with the other files.
  TRankCheck check;
  check.when = now;
  check.engine = "Alpha";
  check.keyword = "widgets";
  check.depth = 10;
  AppendRankChecks(dir.Path(kHistory), {check});
  AppendRankChecks(dir.Path("data/domains/projects/site.test/_shop.htm.rnk"), {check});
  form->ChooseTab(TPage::Ranking);
  EXPECT_EQ(Page().HistoryTable()->model()->rowCount(), 1);
  form->Command("actClearHistory")->trigger();
  EXPECT_FALSE(dir.Exists(kHistory));
  EXPECT_EQ(Page().HistoryTable()->model()->rowCount(), 0);
  EXPECT_EQ(Page().HistoryNote()->text().toStdString(), Text("437"));
  form->ProjectList()->setCurrentRow(0);
  form->Command("actDeleteSelectedProject")->trigger();
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.test/_shop.htm.rnk"));
  EXPECT_TRUE(answers.Calls().empty());
}

}  // namespace
}  // namespace qs::test
