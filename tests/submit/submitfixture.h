// A ready application folder for run tests: settings, engine tables, project files, and the
// objects a run needs, with a scripted answerer and a connection that can be switched off.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/appstate.h"
#include "app/clock.h"
#include "app/dialogs.h"
#include "engines/enginecatalogue.h"
#include "enginetable.h"
#include "net/connectionsettings.h"
#include "platform/internetconnection.h"
#include "support/fakeconnection.h"
#include "support/tempfolder.h"
#include "submit/runcontrol.h"

namespace qs::test {

using TSwitchableConnection = test::FakeConnection;

using TValues = std::map<std::string, std::string>;

inline std::string ProjectFileText(const std::string& key, const TValues& values) {
  std::string text = "[" + key + "]\r\n";
  for (const auto& [k, v] : values) text += k + "=" + v + "\r\n";
  return text;
}

class SubmitFixture : public ::testing::Test {
 protected:
  void WriteSettings(const std::string& update = "1", int ports = 5, int timeout = 90) {
    dir.Write("dfd.ini", "[Application]\r\nupdate=" + update + "\r\nports=" + std::to_string(ports) +
                             "\r\ntimeout=" + std::to_string(timeout) + "\r\n");
  }
  void WriteProject(const std::string& domain, const std::string& key, const TValues& values) {
    dir.Write("data/domains/projects/" + domain + "/" + key + ".zro", ProjectFileText(key, values));
  }
  void WriteTables(const std::vector<TValues>& main, const std::vector<TValues>& custom = {}) {
    std::string m, c;
    for (const TValues& v : main) m += practice::EngineLine(v);
    for (const TValues& v : custom) c += practice::EngineLine(v);
    dir.Write("data/data.czc", m);
    dir.Write("data/datac.czc", c);
  }
  void OpenCatalogue() {
    catalogue.Open(state.folder);
    catalogue.Count(catalogue.EnginesTable);
    catalogue.Count(catalogue.CustomTable);
  }
  // Makes the run control on the folder as it stands (settings read now).
  void MakeRun() {
    connection = std::make_unique<TConnectionSettings>(state.folder);
    connection->ReadTimeoutsPorts();
    run = std::make_unique<TRunControl>(state, catalogue, *connection, answerer, internet);
    run->SetOwnTimer(false);
  }
  // Lets the event loop run until `done` holds; false when it did not within `ms`.
  static bool RunUntil(const std::function<bool()>& done, int ms = 10000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
      if (deadline.hasExpired()) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
  }
  void TearDown() override {
    run.reset();
    catalogue.Close();
  }

  TempFolder dir;
  TAppState state = [this] {
    TAppState s;
    s.folder = dir.AppFolder();
    s.report.templateFile = dir.Path("data/domains/report-template.htm");
    return s;
  }();
  TEngineCatalogue catalogue;
  TScriptedAnswerer answerer;
  TSwitchableConnection internet;
  std::unique_ptr<TConnectionSettings> connection;
  std::unique_ptr<TRunControl> run;
};

}  // namespace qs::test

namespace qs::test {

// What the run makes of each behaviour of the practice server.
struct TExpectedOutcome {
  std::string behaviour, result;
  TRowImage image;
};
inline const std::vector<TExpectedOutcome>& ExpectedOutcomes() {
  static const std::vector<TExpectedOutcome> outcomes{
      {"ok", "OK", TRowImage::Ok},
      {"moved", "Moved Permanently", TRowImage::Ok},
      {"found", "OK", TRowImage::Ok},
      {"missing", "Not Found", TRowImage::Failed},
      {"error", "Internal Server Error", TRowImage::Failed},
      {"timeout", "Request Timeout", TRowImage::TimedOut},
      {"noreason", "OK", TRowImage::Ok},
      {"slow", "OK", TRowImage::Ok},
      {"silent", "Request Timeout", TRowImage::TimedOut},
      {"close", "Could not resolve to host", TRowImage::Failed},
      {"html", "Could not resolve to host", TRowImage::Failed},
  };
  return outcomes;
}

}  // namespace qs::test
