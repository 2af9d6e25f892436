// The desktop program (offscreen) submitting one project to N due engines at Ports 25 with
// the Submit page in view, against the practice server in a process of its own; in the same
// run the headless `submit` command on an identical folder. Prints both wall times and their
// ratio, the longest gap between two turns of the window's event loop during its run, and
// the peak memory of the window's process.
//   bench_submitpage [--engines N]
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/dialogs.h"
#include "enginetable.h"
#include "platform/internetconnection.h"
#include "ui/mainform.h"
#include "ui/submitpage.h"

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

const char* Verdict(bool met) { return met ? "MET" : "MISSED"; }

double PeakMegabytes(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// An application folder with the installation data, one domain with the project Index, and
// the engine table.
void Prepare(const std::string& root, const std::string& table) {
  const QString data = QStringLiteral(QS_SOURCE_DIR "/data");
  QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-R"), data + "/.", QString::fromStdString(root)});
  Write(root + "/dfd.ini", "[Application]\r\nupdate=1\r\nports=25\r\ntimeout=120\r\n");
  Write(root + "/data/domains/domains.zro", "[Domains]\r\nCount=1\r\n[List]\r\nbench.example\r\n");
  Write(root + "/data/domains/bench.example.zro", "[Session]\r\nCount=1\r\n[List]\r\nIndex\r\n");
  Write(root + "/data/domains/projects/bench.example/Index.zro",
        "[Index]\r\nurl=http://bench.example/\r\ntitle=Bench\r\ndescription=A bench site\r\n"
        "submitengines=-1\r\nsubmitcustom=0\r\ngenreport=-1\r\n");
  Write(root + "/data/data.czc", table);
  Write(root + "/data/datac.czc", "");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  int engines = 10000;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--engines") engines = std::atoi(argv[++i]);

  QProcess server;
  server.start(QStringLiteral(QS_PRACTICE_SERVER), {});
  if (!server.waitForStarted() || !server.waitForReadyRead(5000)) {
    std::fprintf(stderr, "the practice server did not start\n");
    return 1;
  }
  const std::string base = "http://127.0.0.1:" + server.readLine().trimmed().toStdString();

  qs::practice::TGeneratorMix mix;
  mix.behaviours = {"ok"};
  mix.kinds = {"ENGINE"};
  mix.frequencies = {""};
  mix.methods = {"GET"};
  std::string table;
  for (const auto& line : qs::practice::GenerateEngineTable(engines, base, mix)) table += line;
  QTemporaryDir headlessDir, windowDir;
  Prepare(headlessDir.path().toStdString(), table);
  Prepare(windowDir.path().toStdString(), table);

  // The headless command.
  double headless = 0;
  {
    QProcess submit;
    submit.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    submit.start(QStringLiteral(QS_PROGRAM),
                 {QStringLiteral("--home"), headlessDir.path(), QStringLiteral("submit"),
                  QStringLiteral("--yes"), QStringLiteral("bench.example")});
    submit.waitForFinished(-1);
    headless = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("headless submit: %d engines in %.3f s (exit %d)\n", engines, headless, submit.exitCode());
  }

  // The window.
  double window = 0, longestGap = 0;
  std::string summary;
  {
    qs::TScriptedAnswerer answers;
    TAlwaysConnected internet;
    qs::TFormOptions options;
    options.dialogs = &answers;
    options.internet = &internet;
    options.splash = false;
    qs::TForm1 form(qs::TAppFolder(windowDir.path().toStdString()), options);
    form.resize(1100, 800);
    form.show();
    form.ChooseTab(qs::TPage::Submit);
    form.ProjectList()->item(0)->setCheckState(Qt::Checked);
    form.SubmitPage()->Button("AddChecked")->click();
    QEventLoop loop;
    form.Run().OnEntryEnded = [&](const qs::RunEntry& e) {
      summary = e.lines[qs::kOkLine] + ", " + e.lines[qs::kFailedLine] + ", " + e.lines[qs::kTimeoutLine];
      loop.quit();
    };
    // A 5 ms timer: the longest time between two of its turns is the longest the window
    // could not answer.
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(5);
    QElapsedTimer sinceTurn;
    QObject::connect(&probe, &QTimer::timeout, [&] {
      longestGap = std::max(longestGap, static_cast<double>(sinceTurn.nsecsElapsed()) / 1e6);
      sinceTurn.restart();
    });
    QElapsedTimer timer;
    timer.start();
    sinceTurn.start();
    probe.start();
    form.SubmitPage()->Button("Start")->click();
    loop.exec();
    window = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    probe.stop();
    std::printf("window:          %d engines in %.3f s (%s; %d rows shown at its end)\n", engines, window,
                summary.c_str(), form.SubmitPage()->ActivityView()->model()->rowCount());
    form.close();
  }
  server.kill();
  server.waitForFinished();
  const double ratio = window / headless, peak = PeakMegabytes(RUSAGE_SELF);
  std::printf("ratio window / headless: %.2f (goal at most 1.20: %s)\n", ratio, Verdict(ratio <= 1.20));
  std::printf("longest gap between event-loop turns: %.1f ms (goal under 50 ms: %s)\n", longestGap,
              Verdict(longestGap < 50));
  std::printf("peak memory of the window's process: %.1f MB (goal under 150 MB: %s)\n", peak, Verdict(peak < 150));
  return 0;
}
