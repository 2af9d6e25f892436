// The Database page over a large main table (offscreen): building the page, scrolling its
// grid from top to bottom a page at a time, finding a record near the end, and editing and
// posting one record with the write that makes it safe; against the table's own open and
// counting walk in the same run. Prints each time and the memory the table and the page take;
// the page's own widgets cost the same whatever the table (about 80 ms with 1,000 records).
//   bench_databasepage [--records N]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/dialogs.h"
#include "app/summit.h"
#include "enginetable.h"
#include "ui/databasepage.h"
#include "ui/enginetablemodel.h"
#include "ui/enginetablepanel.h"

namespace {

void Write(const std::string& path, const std::string& text) {
  QDir().mkpath(QString::fromStdString(path.substr(0, path.rfind('/'))));
  std::ofstream(path, std::ios::binary) << text;
}

// The resident memory now, in MB.
double ResidentMegabytes() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

const char* Verdict(bool met) { return met ? "MET" : "MISSED"; }

double Ms(QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  int records = 100000;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--records") records = std::atoi(argv[++i]);

  QTemporaryDir dir;
  const std::string root = dir.path().toStdString();
  std::string table;
  for (const auto& line : qs::practice::GenerateEngineTable(records, "http://127.0.0.1:9")) table += line;
  Write(root + "/data/data.czc", table);
  Write(root + "/data/datac.czc", "");
  std::printf("table: %d records, %.1f MB\n", records, table.size() / (1024.0 * 1024.0));
  table.clear();
  table.shrink_to_fit();
  malloc_trim(0);  // the generator's memory goes back, so the figures below are the table's

  qs::TScriptedAnswerer answers;
  const double idle = ResidentMegabytes();
  qs::TSummit summit{qs::TAppFolder(root)};
  QElapsedTimer t;
  t.start();
  summit.catalogue.Open(summit.state.folder);  // opens and counts both tables
  const double openMs = Ms(t);
  const double tableMb = ResidentMegabytes() - idle;
  std::printf("table open + counting walk: %8.1f ms, %.1f MB\n", openMs, tableMb);

  t.restart();
  auto* page = new qs::TDatabasePage(summit, answers, qs::PublisherKey());
  page->resize(1100, 800);
  page->show();
  QCoreApplication::processEvents();
  const double pageMs = Ms(t);
  qs::TEngineTablePanel& panel = *page->MainPanel();
  std::printf("page built and shown:       %8.1f ms (%d rows; widgets and first drawing included)\n",
              pageMs, panel.Grid()->model()->rowCount());
  // What grows with the table: listing the records the view shows.
  t.restart();
  panel.Model()->Reload();
  const double listMs = Ms(t);
  std::printf("grid lists the records:     %8.1f ms (%.2f x the table's open, goal at most 1.5: %s)\n", listMs,
              listMs / openMs, Verdict(listMs / openMs <= 1.5));

  t.restart();
  QScrollBar* bar = panel.Grid()->verticalScrollBar();
  int pages = 0;
  while (bar->value() < bar->maximum()) {
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    panel.Grid()->viewport()->repaint();
    ++pages;
  }
  const double scrollMs = Ms(t);
  std::printf("scroll top to bottom:       %8.1f ms (%d pages drawn, %.3f ms a page)\n", scrollMs, pages,
              scrollMs / std::max(1, pages));

  t.restart();
  const QString name = QStringLiteral("Practice %1").arg(records - 10);
  const bool found = panel.Find(name);
  QCoreApplication::processEvents();
  std::printf("find %s:        %8.1f ms (%s)\n", qPrintable(name), Ms(t), found ? "found" : "NOT FOUND");

  t.restart();
  panel.SetEditorText("e_country", QStringLiteral("NZ"));
  panel.Command(qs::TEngineTablePanel::kPost);
  QCoreApplication::processEvents();
  const double postMs = Ms(t);
  t.restart();
  summit.catalogue.SaveNow();
  const double saveMs = Ms(t);
  std::printf("edit and post:              %8.1f ms (with the count and the grid's reload)\n", postMs);
  std::printf("the safe write of the post: %8.1f ms (the whole file, atomically)\n", saveMs);

  const double pageMb = ResidentMegabytes() - idle - tableMb;
  std::printf("memory the page adds: %.1f MB (goal at most 30 MB: %s)\n", pageMb, Verdict(pageMb <= 30));
  delete page;
  summit.catalogue.Close();
  return 0;
}
