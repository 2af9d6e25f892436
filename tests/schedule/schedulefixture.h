// A ready application folder for scheduler tests: the run's folder, engine tables on the
// practice server, a frame timer the test fires itself and a clock that moves 100 ms with
// every frame, and autostart folders inside the temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/regional.h"
#include "projects/naming.h"
#include "practiceserver.h"
#include "schedule/scheduler.h"
#include "store/biginifile.h"
#include "submit/submitfixture.h"

namespace qs::test {

class ManualFrameTimer : public IFrameTimer {
 public:
  void Start(int intervalMs) override {
    running = true;
    interval = intervalMs;
  }
  void Stop() override { running = false; }
  bool Running() const override { return running; }
  void Fire() {
    if (running && OnTimeout) OnTimeout();
  }
  bool running = false;
  int interval = 0;
};

// Connected, and counts what is asked of the dial-up connection.
class CountingConnection : public IInternetConnection {
 public:
  bool connected = true;
  int dials = 0, hangUps = 0;
  bool Connected() override { return connected; }
  bool Dial(int) override {
    ++dials;
    return false;
  }
  bool HangUp() override {
    ++hangUps;
    return false;
  }
};

inline constexpr int kFramesPerTick = 31 * 16;

class SchedulerFixture : public SubmitFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Listen());
    server.SetSlowMs(20);
    clock::Set([this] { return now; });
    WriteSettings("1", 5, 30);
    dir.Write("data/default.hst", "Submit Date,Scheduled,Status,Generated Report,\r\n");
    dir.Write("data/domains/report-template.htm",
              "<p>$ok</p>\n<!--STARTDATA-->\n<p>$engname</p>\n<!--ENDDATA-->\n");
    WriteTables({Engine("One", "ok"), Engine("Two", "missing")});
    OpenCatalogue();
    MakeRun();
  }
  void TearDown() override {
    scheduler.reset();
    SubmitFixture::TearDown();
    clock::Set(nullptr);
  }
  TValues Engine(const std::string& name, const std::string& behaviour) {
    return {{"e_name", name},
            {"enginetype", "ENGINE"},
            {"e_count", "1"},
            {"e_url", "http://" + name + ".example/"},
            {"cgi_url", server.Base() + "/" + behaviour + "/" + name},
            {"method", "GET"},
            {"url", "url"}};
  }
  // A project of dom.example whose last submission lies `lastsubDays` days back (none when
  // empty).
  void Project(const std::string& listedName, std::optional<int> lastsubDays) {
    TValues v{{"url", "http://dom.example" + listedName}, {"submitengines", "-1"},
              {"submitcustom", "0"},                       {"genreport", "-1"}};
    if (lastsubDays) v["lastsub"] = Date(-*lastsubDays);
    WriteProject("dom.example", ProjectKeyOf(listedName), v);
  }
  void SetLastsub(const std::string& listedName, int daysBack) {
    const std::string key = ProjectKeyOf(listedName);
    TBigIniFile ini(dir.Path("data/domains/projects/dom.example/" + key + ".zro"));
    ini.WriteText(key, "lastsub", Date(-daysBack));
    ini.Close();
  }
  std::string Lastsub(const std::string& listedName) {
    const std::string key = ProjectKeyOf(listedName);
    TBigIniFile ini(dir.Path("data/domains/projects/dom.example/" + key + ".zro"));
    std::string v = ini.ReadText(key, "lastsub", "");
    ini.Close();
    return v;
  }
  // The date `days` from today, as stored.
  std::string Date(int days) const { return regional::FormatDate(now.date().addDays(days)); }
  static std::string Time(int h, int m) { return regional::FormatTime(QTime(h, m)); }
  // Schedule lines key=value, written as the file's [scheduled] section.
  void Schedule(const std::vector<std::string>& lines) {
    std::string text = "[scheduled]\r\n";
    for (const auto& l : lines) text += l + "\r\n";
    dir.Write("data/schedule.sch", text);
  }
  std::string Line(const std::string& listedName, int startDays, int endDays,
                   const std::string& time, const std::string& days) const {
    return "dom.example|" + listedName + "=" + Date(startDays) + "|" + Date(endDays) + "|" +
           time + "|" + days;
  }

  TSchedulerPlatform Platform() {
    TSchedulerPlatform p;
    auto t = std::make_unique<ManualFrameTimer>();
    timer = t.get();
    p.timer = std::move(t);
    p.autostartFolders = {dir.Path("home/.config/autostart"), dir.Path("etc/xdg/autostart")};
    p.executable = "/opt/quorvex summit/quorvex-summit";
    return p;
  }
  void MakeScheduler(IInternetConnection* net = nullptr) {
    scheduler = std::make_unique<TScheduler>(state, *run, *connection, net ? *net : internet,
                                             answerer, Platform());
  }
  // Fires `n` frames, the clock moving 100 ms with each.
  void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      now = now.addMSecs(100);
      timer->Fire();
    }
  }
  bool RunEnded() {
    return RunUntil([&] { return run->Total() == run->Completed() && run->LiveRequests() == 0; });
  }
  std::string Lookup(std::string_view key) const { return state.languageTable.Lookup(key); }
  std::string UserEntry() const { return dir.Read("home/.config/autostart/QuorvexEnt.desktop"); }
  std::string ScheduleFlag() {
    TBigIniFile ini(dir.Path("dfd.ini"));
    std::string v = ini.ReadText("Application", "schedule", "<none>");
    ini.Close();
    return v;
  }

  QDateTime now{QDate(2026, 12, 10), QTime(12, 0, 0)};
  practice::TPracticeServer server;
  ManualFrameTimer* timer = nullptr;
  std::unique_ptr<TScheduler> scheduler;
};

}  // namespace qs::test
