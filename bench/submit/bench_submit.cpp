// A run of one project over N due engines against the practice server answering at once,
// Ports 25, report on; then the bare HTTP client sending the same N requests with 25 in
// flight. Prints both rates, their ratio and the peak memory.
//   bench_submit [--engines N]
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/appstate.h"
#include "app/dialogs.h"
#include "engines/enginecatalogue.h"
#include "enginetable.h"
#include "net/connectionsettings.h"
#include "net/httpcli.h"
#include "platform/internetconnection.h"
#include "practiceserver.h"
#include "submit/runcontrol.h"

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

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  int engines = 10000;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--engines") engines = std::atoi(argv[++i]);

  qs::practice::TPracticeServer server;
  if (!server.Listen()) return 1;
  QTemporaryDir tmp;
  const std::string root = tmp.path().toStdString();
  Write(root + "/dfd.ini", "[Application]\r\nupdate=1\r\nports=25\r\ntimeout=120\r\n");
  Write(root + "/data/default.hst", "Submit Date,Scheduled,Status,Generated Report,\r\n");
  Write(root + "/data/domains/report-template.htm",
        "<html><body><p>$status $ok $failed $timeout</p><table border=\"$border\">\n"
        "<!--STARTDATA-->\n<tr class=\"$band\"><td>$id</td><td>$engname</td><td>$engurl</td>"
        "<td>$engresult</td><td>$engdatetime</td><td>$engtype</td></tr>\n<!--ENDDATA-->\n"
        "</table></body></html>\n");
  Write(root + "/data/domains/projects/bench.example/Index.zro",
        "[Index]\r\nurl=http://bench.example/\r\ntitle=Bench\r\ndescription=A bench site\r\n"
        "submitengines=-1\r\nsubmitcustom=0\r\ngenreport=-1\r\n");
  qs::practice::TGeneratorMix mix;
  mix.behaviours = {"ok"};
  mix.kinds = {"ENGINE"};
  mix.frequencies = {""};
  mix.methods = {"GET"};
  std::string table;
  for (const auto& line : qs::practice::GenerateEngineTable(engines, server.Base(), mix)) table += line;
  Write(root + "/data/data.czc", table);
  Write(root + "/data/datac.czc", "");

  qs::TAppState state;
  state.folder = qs::TAppFolder(root);
  state.report.templateFile = root + "/data/domains/report-template.htm";
  qs::TEngineCatalogue catalogue;
  catalogue.Open(state.folder);
  qs::TConnectionSettings connection(state.folder);
  connection.ReadTimeoutsPorts();
  qs::TScriptedAnswerer answerer;
  TAlwaysConnected internet;

  // The whole run.
  double runRate = 0;
  {
    qs::TRunControl run(state, catalogue, connection, answerer, internet);
    QEventLoop loop;
    run.OnEntryEnded = [&](const qs::RunEntry&) { loop.quit(); };
    run.AddChecked("bench.example", {"Index"}, [](const std::string&) { return true; });
    QElapsedTimer timer;
    timer.start();
    run.Start();
    loop.exec();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    runRate = engines / seconds;
    const auto& e = run.Queue().Entries().at(0);
    std::printf("run:         %d engines in %.3f s: %.0f engines/s (%s, %s, %s)\n", engines, seconds,
                runRate, e.lines[qs::kOkLine].c_str(), e.lines[qs::kFailedLine].c_str(),
                e.lines[qs::kTimeoutLine].c_str());
  }
  catalogue.Close();

  // The bare client: the same requests, 25 in flight.
  std::vector<std::string> urls;
  {
    qs::TRequestBuilder builder(state.folder);
    qs::TEngineCatalogue again;
    again.Open(state.folder);
    for (again.EnginesTable.First(); !again.EnginesTable.Eof(); again.EnginesTable.Next())
      urls.push_back(builder.Build("bench.example", "Index", again.EnginesTable,
                                   qs::TEngineTable::Main, QDate::currentDate()).url);
    again.Close();
  }
  double bareRate = 0;
  {
    QEventLoop loop;
    size_t next = 0, done = 0;
    std::vector<std::unique_ptr<qs::THttpCli>> clients(25);
    std::function<void(size_t)> startOne = [&](size_t slot) {
      if (next >= urls.size()) return;
      auto& c = clients[slot];
      c = std::make_unique<qs::THttpCli>();
      c->SetURL(urls[next++]);
      c->OnRequestDone = [&, slot](qs::THttpCli&, qs::THttpRequest, int) {
        if (++done == urls.size()) loop.quit();
        QMetaObject::invokeMethod(&loop, [&, slot] { startOne(slot); }, Qt::QueuedConnection);
      };
      c->Get();
    };
    QElapsedTimer timer;
    timer.start();
    for (size_t s = 0; s < clients.size(); ++s) startOne(s);
    loop.exec();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    bareRate = static_cast<double>(urls.size()) / seconds;
    std::printf("bare client: %zu requests in %.3f s: %.0f requests/s\n", urls.size(), seconds, bareRate);
  }
  std::printf("ratio run / bare client: %.2f (goal at least 0.80)\n", runRate / bareRate);
  std::printf("peak memory: %.1f MB (goal under 100 MB)\n", PeakMegabytes());
  return 0;
}
