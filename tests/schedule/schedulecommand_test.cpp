// The schedule command: the list, and the scheduler in the foreground against the practice
// server until a signal stops it.
#include "cli/schedulecommand.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <csignal>
#include <filesystem>
#include <sstream>

#include "cli/commandline.h"
#include "schedulefixture.h"

namespace qs {
namespace {

class ScheduleCommand : public test::SchedulerFixture {
 protected:
  void SetUp() override {
    test::SchedulerFixture::SetUp();
    std::filesystem::copy(QS_SOURCE_DIR "/data", dir.Root(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::skip_existing);
    dir.Write("data/domains/domains.zro", "[List]\r\ndom.example\r\n");
    dir.Write("data/domains/dom.example.zro", "[List]\r\n/a.htm\r\n/b.htm\r\n");
    savedConfig = qgetenv("XDG_CONFIG_HOME");
    hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.Path("config").c_str());
    clock::Set(nullptr);  // the command runs on the real clock
    now = QDateTime::currentDateTime();
  }
  void TearDown() override {
    if (hadConfig) qputenv("XDG_CONFIG_HOME", savedConfig); else qunsetenv("XDG_CONFIG_HOME");
    test::SchedulerFixture::TearDown();
  }
  int Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    if (args.size() > 0 && args[0] == "run")
      return RunScheduleCommand(dir.AppFolder(), args, {in, out, err}, 0);
    std::vector<std::string> all{"--home", dir.Root(), "schedule"};
    all.insert(all.end(), args.begin(), args.end());
    return RunCommandLine(all, dir.Root(), dir.Root(), {in, out, err});
  }

  QByteArray savedConfig;
  bool hadConfig = false;
  std::istringstream in;
  std::ostringstream out, err;
};

TEST_F(ScheduleCommand, ListPrintsTheRowsAndTheCount) {
  Project("/a.htm", std::nullopt);
  Project("/b.htm", 2);
  Schedule({Line("/a.htm", 3, 30, Time(9, 0), "7"), Line("/b.htm", 0, 30, Time(10, 0), "1"),
            Line("/gone.htm", 0, 30, Time(9, 0), "7")});
  ASSERT_EQ(Run({"list"}), kExitOk) << err.str();
  EXPECT_EQ(out.str(), "dom.example\t/b.htm\t" + Date(-1) + "\t10:00:00 AM\n"
                       "dom.example\t/a.htm\t" + Date(3) + "\t9:00:00 AM\n"
                       "Scheduled: 2\n");
  EXPECT_EQ(dir.Read("data/schedule.sch").find("/gone.htm"), std::string::npos);
  Schedule({"dom.example|/a.htm=garbage"});
  EXPECT_EQ(Run({"list"}), kExitFailure);
  EXPECT_NE(err.str().find("cannot be read"), std::string::npos);
  EXPECT_EQ(Run({}), kExitUsage);
  EXPECT_EQ(Run({"list", "extra"}), kExitUsage);
  EXPECT_EQ(Run({"later"}), kExitUsage);
  EXPECT_EQ(Run({"run", "--fast"}), kExitUsage);
}

TEST_F(ScheduleCommand, TheSetCommandSchedulesAProject) {
  Project("/a.htm", std::nullopt);
  Project("/b.htm", std::nullopt);
  const auto set = [&](const std::vector<std::string>& fields) {
    std::vector<std::string> all{"--home", dir.Root(), "set", "dom.example", "/b.htm"};
    all.insert(all.end(), fields.begin(), fields.end());
    return RunCommandLine(all, dir.Root(), dir.Root(), {in, out, err});
  };
  ASSERT_EQ(set({"scheduled=-1", "startdate=" + Date(2), "enddate=" + Date(9),
                 "besttime=" + Time(10, 30), "daysbetween=4"}), kExitOk) << err.str();
  ASSERT_EQ(Run({"list"}), kExitOk) << err.str();
  EXPECT_EQ(out.str(), "dom.example\t/b.htm\t" + Date(2) + "\t10:30:00 AM\nScheduled: 1\n");
  ASSERT_EQ(set({"scheduled=0"}), kExitOk) << err.str();
  ASSERT_EQ(Run({"list"}), kExitOk);
  EXPECT_EQ(out.str(), "Scheduled: 0\n");
}

TEST_F(ScheduleCommand, RunSubmitsADueProjectAtTheFirstTickAndStopsAtASignal) {
  Project("/a.htm", std::nullopt);
  Schedule({Line("/a.htm", 0, 30, Time(0, 0), "7")});
  const std::string history = "data/domains/projects/dom.example/_a.htm.hst";
  // Once the run has written its history, the test sends itself SIGTERM; SIGINT after a
  // while in case it never does.
  QTimer watch, limit;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (dir.Exists(history)) {
      watch.stop();
      std::raise(SIGTERM);
    }
  });
  QObject::connect(&limit, &QTimer::timeout, [] { std::raise(SIGINT); });
  watch.start(10);
  limit.setSingleShot(true);
  limit.start(20000);
  ASSERT_EQ(Run({"run"}), kExitOk) << err.str();
  EXPECT_TRUE(limit.isActive()) << "stopped by the time limit";
  const std::string text = out.str();
  EXPECT_EQ(text.rfind("Starting Sheduler...\nScheduler is running...\n", 0), 0u) << text;
  EXPECT_NE(text.find("Sheduled project detected...\nAdding Project to Auto submitter\n"),
            std::string::npos) << text;
  EXPECT_NE(text.find("One\thttp://One.example/\tOK\tENGINE\tOK\n"), std::string::npos) << text;
  EXPECT_NE(text.find("dom.example [/a.htm]\n  Status: Submission Complete...\n"), std::string::npos);
  EXPECT_NE(err.str().find("schedule: stopped"), std::string::npos);
  EXPECT_EQ(Lastsub("/a.htm"), Date(0));
  // The signal leaves [Application] schedule and the autostart entry as Start made them.
  EXPECT_EQ(ScheduleFlag(), "1");
  EXPECT_TRUE(dir.Exists("config/autostart/QuorvexEnt.desktop"));
  // The default handlers are back.
  struct sigaction action {};
  sigaction(SIGTERM, nullptr, &action);
  EXPECT_EQ(action.sa_handler, SIG_DFL);
  // Stop Scheduler from the command line switches both off.
  ASSERT_EQ(Run({"stop"}), kExitOk) << err.str();
  EXPECT_EQ(out.str(), "Scheduler Disabled\n");
  EXPECT_EQ(ScheduleFlag(), "0");
  EXPECT_FALSE(dir.Exists("config/autostart/QuorvexEnt.desktop"));
}

}  // namespace
}  // namespace qs
