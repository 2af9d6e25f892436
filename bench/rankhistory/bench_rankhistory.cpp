// The History panel of the Ranking page over a long ranking history: a project whose history
// file holds N checks (5 engines, 2 keywords, one check of each a day; about one in ten not
// found). Times, best and median of the timed runs after one untimed run:
//   (a) reading the file alone (ReadRankHistory: the lines parsed into checks);
//   (b) the desktop program (offscreen, window 1100 x 800) making the Ranking page current
//       with its History panel open, which reads the file, fills the table and draws the
//       chart, and painting the page once;
// and prints the ratio (b) / (a) (goal: at most 3).
//   bench_rankhistory [--checks N] [--reps N]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "platform/internetconnection.h"
#include "ranking/rankhistory.h"
#include "ui/mainform.h"
#include "ui/rankchart.h"
#include "ui/rankingpage.h"

#include <QChart>
#include <QChartView>
#include <QTableView>

namespace {

class TAlwaysConnected : public qs::IInternetConnection {
 public:
  bool Connected() override { return true; }
  bool Dial(int) override { return false; }
  bool HangUp() override { return false; }
};

void Write(const std::string& path, const std::string& text) {
  QDir().mkpath(QString::fromStdString(path.substr(0, path.rfind('/'))));
  std::ofstream(path, std::ios::binary) << text;
}

std::string History(int checks) {
  const char* engines[] = {"Alpha", "Bravo", "Charlie", "Delta", "Echo"};
  const char* keywords[] = {"widgets", "blue widgets"};
  std::mt19937 random(20);
  std::uniform_int_distribution<int> position(1, 60), missing(0, 9);
  std::string text = std::string(qs::kRankHistoryHeadings) + "\r\n";
  const QDateTime start(QDate(2020, 1, 1), QTime(9, 0, 0));
  for (int i = 0; i < checks; ++i) {
    qs::TRankCheck c;
    c.when = start.addDays(i / 10).addSecs(i % 10);
    c.engine = engines[i % 5];
    c.keyword = keywords[(i / 5) % 2];
    c.depth = 100;
    if (missing(random) != 0) {
      c.positions = {position(random)};
      c.resultUrl = "http://engine.example/search?q=" + c.keyword + "&first=1";
    }
    text += qs::RankCheckLine(c) + "\r\n";
  }
  return text;
}

struct TTimes {
  double best, median;
};

template <class F>
TTimes Time(int reps, F&& once) {
  once();  // untimed
  std::vector<double> ms;
  for (int r = 0; r < reps; ++r) {
    QElapsedTimer timer;
    timer.start();
    once();
    ms.push_back(double(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  int checks = 10000, reps = 9;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--checks") checks = std::atoi(argv[i + 1]);
    if (std::string(argv[i]) == "--reps") reps = std::max(1, std::atoi(argv[i + 1]));
  }

  QTemporaryDir dir;
  const std::string root = dir.path().toStdString();
  QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-R"), QStringLiteral(QS_SOURCE_DIR "/data/."),
                                           dir.path()});
  Write(root + "/dfd.ini", "[Application]\r\nupdate=1\r\n");
  Write(root + "/data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nbench.example\r\n");
  Write(root + "/data/domains/bench.example.zro", "[Session]\r\nCount=1\r\n[List]\r\nIndex\r\n");
  Write(root + "/data/domains/projects/bench.example/Index.zro",
        "[Index]\r\nurl=http://bench.example/\r\nkey1=widgets, blue widgets\r\n");
  const std::string file = root + "/data/domains/projects/bench.example/Index.rnk";
  Write(file, History(checks));

  size_t read = 0;
  const TTimes plain = Time(reps, [&] { read = qs::ReadRankHistory(file).checks.size(); });

  qs::TScriptedAnswerer answers;
  TAlwaysConnected internet;
  qs::TFormOptions options;
  options.dialogs = &answers;
  options.internet = &internet;
  options.splash = false;
  qs::TForm1 form(qs::TAppFolder(root), options);
  form.resize(1100, 800);
  form.show();
  form.ApplyTable();
  form.RankingPage()->OpenPanel(qs::TRankingPanel::History);
  QCoreApplication::processEvents();
  int rows = 0, series = 0;
  // The first opening also makes the chart's series; later ones give them new points.
  QElapsedTimer firstOpen;
  firstOpen.start();
  form.ChooseTab(qs::TPage::Ranking);
  form.RankingPage()->grab();
  const double firstPanel = double(firstOpen.nsecsElapsed()) / 1e6;
  const TTimes panel = Time(reps, [&] {
    form.ShowPage(qs::TPage::About);
    form.ChooseTab(qs::TPage::Ranking);
    form.RankingPage()->grab();  // table and chart laid out and painted
    rows = form.RankingPage()->History().Rows().size();
    series = int(form.RankingPage()->History().Chart().lines.size());
  });

  qs::TRankingPage& page = *form.RankingPage();
  const qs::TRankChart data = page.History().Chart();
  const TTimes chart = Time(reps, [&] {
    qs::DrawRankChart(*page.HistoryChart(), data);
    page.HistoryChartView()->grab();
  });
  const TTimes table = Time(reps, [&] { page.HistoryTable()->grab(); });
  QElapsedTimer firstTimer;
  firstTimer.start();
  {
    QChart fresh;
    qs::DrawRankChart(fresh, data);
  }
  const double firstChart = double(firstTimer.nsecsElapsed()) / 1e6;

  std::printf("history: %d checks, %zu read, %d rows and %d engine lines shown\n", checks, read,
              rows, series);
  std::printf("(a) read the file alone:        best %8.1f ms  median %8.1f ms\n", plain.best,
              plain.median);
  std::printf("(b) open the History panel:     best %8.1f ms  median %8.1f ms\n", panel.best,
              panel.median);
  std::printf("    the first opening:           %8.1f ms (a new chart made and dropped: %.1f ms)\n",
              firstPanel, firstChart);
  std::printf("    of which drawing the chart:  best %8.1f ms  median %8.1f ms\n", chart.best,
              chart.median);
  std::printf("    of which painting the table: best %8.1f ms  median %8.1f ms\n", table.best,
              table.median);
  std::printf("ratio (b)/(a), medians: %.2f (goal <= 3: %s)\n", panel.median / plain.median,
              panel.median / plain.median <= 3 ? "MET" : "MISSED");
  if (!answers.Calls().empty()) std::printf("message: %s\n", answers.Calls()[0].text.c_str());
  return 0;
}
