// The scheduler in test time: Start and Stop with their log, flag and autostart entry, the
// tick taking due projects into the run against the practice server, the idle rule, the
// hang-up rule and the restart at program start.
#include "schedule/scheduler.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/summit.h"
#include "projects/history.h"
#include "projects/projecteditor.h"
#include "schedulefixture.h"

namespace qs {
namespace {

using test::kFramesPerTick;

class Scheduler : public test::SchedulerFixture {
 protected:
  std::vector<std::string> Keys(std::initializer_list<const char*> keys) {
    std::vector<std::string> texts;
    for (const char* k : keys) texts.push_back(Lookup(k));
    return texts;
  }
  std::vector<std::string> StartLines() { return Keys({"369", "370", "371", "372"}); }
  std::vector<std::string> Projects() {
    std::vector<std::string> names;
    for (const ScheduledRow& r : scheduler->List().Rows()) names.push_back(r.project + " " + r.submitDate);
    return names;
  }
};

TEST_F(Scheduler, StartAndStopKeepTheFlagTheAutostartEntryTheStatusAndTheLog) {
  Project("/a.htm", std::nullopt);
  Schedule({Line("/a.htm", 1, 30, Time(9, 0), "7")});
  MakeScheduler();
  std::vector<bool> running;
  scheduler->OnRunningChanged = [&](bool r) { running.push_back(r); };
  EXPECT_EQ(scheduler->StatusText(), "Status: Disabled");
  EXPECT_TRUE(UserEntry().empty());

  scheduler->Start();
  EXPECT_TRUE(scheduler->Running());
  EXPECT_FALSE(scheduler->StartEnabled());
  EXPECT_TRUE(scheduler->StopEnabled());
  EXPECT_EQ(scheduler->StatusText(), "Status: Running");
  EXPECT_EQ(scheduler->LogLines(), StartLines());
  EXPECT_EQ(scheduler->ScheduledCount(), 1);
  EXPECT_TRUE(timer->running);
  EXPECT_EQ(timer->interval, 100);
  EXPECT_EQ(ScheduleFlag(), "1");
  EXPECT_NE(UserEntry().find("\nExec=\"/opt/quorvex summit/quorvex-summit\"\n"), std::string::npos)
      << UserEntry();
  EXPECT_TRUE(scheduler->Autostart().Autostart());
  // Closing the window while it runs only hides it, unless the session ends.
  EXPECT_FALSE(scheduler->MayCloseWindow(false));
  EXPECT_TRUE(scheduler->MayCloseWindow(true));

  scheduler->Stop();
  EXPECT_TRUE(scheduler->MayCloseWindow(false));
  EXPECT_FALSE(scheduler->Running());
  EXPECT_EQ(scheduler->StatusText(), "Status: Disabled");
  EXPECT_EQ(scheduler->LogLines().back(), "Scheduler Disabled");
  EXPECT_EQ(scheduler->ScheduledCount(), 0);
  EXPECT_FALSE(timer->running);
  EXPECT_EQ(ScheduleFlag(), "0");
  EXPECT_FALSE(dir.Exists("home/.config/autostart/QuorvexEnt.desktop"));
  EXPECT_EQ(running, (std::vector<bool>{true, false}));

  // A second start empties the log first; Clear Log empties it.
  scheduler->Start();
  EXPECT_EQ(scheduler->LogLines(), StartLines());
  scheduler->ClearLog();
  EXPECT_TRUE(scheduler->LogLines().empty());
  // Halt, as the end of the program: the flag and the entry stay.
  scheduler->Halt();
  EXPECT_FALSE(scheduler->Running());
  EXPECT_EQ(ScheduleFlag(), "1");
  EXPECT_TRUE(dir.Exists("home/.config/autostart/QuorvexEnt.desktop"));
}

TEST_F(Scheduler, AProjectScheduledFromTodayIsSubmittedAtTheFirstTick) {
  Project("/a.htm", std::nullopt);
  Schedule({Line("/a.htm", 0, 30, Time(9, 0), "7")});
  MakeScheduler();
  scheduler->Start();
  ASSERT_EQ(Projects(), (std::vector<std::string>{"/a.htm " + Date(0)}));

  Frames(kFramesPerTick - 1);
  EXPECT_EQ(run->Total(), 0);
  EXPECT_EQ(scheduler->LogLines().size(), 4u);
  Frames(1);
  ASSERT_EQ(run->Total(), 1);
  EXPECT_TRUE(run->Active());
  EXPECT_TRUE(run->ScheduledRun());
  EXPECT_EQ(run->Queue().Entries()[0].DisplayText(), "dom.example [/a.htm]");
  EXPECT_EQ(std::vector<std::string>(scheduler->LogLines().begin() + 4, scheduler->LogLines().end()),
            Keys({"374", "378"}));
  EXPECT_EQ(scheduler->ScheduledCount(), 0);  // taken off the list while it runs

  ASSERT_TRUE(RunEnded());
  EXPECT_EQ(server.Received().size(), 2u);
  EXPECT_EQ(Lastsub("/a.htm"), Date(0));
  // The entry's end rebuilt the list: next time in 7 days.
  EXPECT_EQ(Projects(), (std::vector<std::string>{"/a.htm " + Date(7)}));
  const std::string history = dir.Read("data/domains/projects/dom.example/_a.htm.hst");
  EXPECT_NE(history.find(Date(0)), std::string::npos) << history;
  EXPECT_FALSE(run->ScheduledRun());
}

TEST_F(Scheduler, AProjectIsNotTakenBeforeItsMomentNorWithoutAConnection) {
  Project("/a.htm", std::nullopt);
  Schedule({Line("/a.htm", 0, 30, Time(13, 0), "7")});
  MakeScheduler();
  scheduler->Start();
  Frames(kFramesPerTick);  // 12:00:49.6
  EXPECT_EQ(run->Total(), 0);
  EXPECT_EQ(scheduler->ScheduledCount(), 1);
  now = QDateTime(now.date(), QTime(13, 0, 0));
  internet.connected = false;
  Frames(kFramesPerTick);
  EXPECT_EQ(run->Total(), 0);
  EXPECT_EQ(scheduler->ScheduledCount(), 1);
  EXPECT_TRUE(answerer.Calls().empty());  // no message at a tick without a connection
  internet.connected = true;
  Frames(kFramesPerTick);
  EXPECT_EQ(run->Total(), 1);
  ASSERT_TRUE(RunEnded());
}

TEST_F(Scheduler, TenDaysSinceTheLastOfEverySevenIsDueAtOnceAndComesBackInSevenDays) {
  Project("/a.htm", 10);
  Schedule({Line("/a.htm", -20, 30, Time(9, 0), "7")});
  MakeScheduler();
  scheduler->Start();
  EXPECT_EQ(Projects(), (std::vector<std::string>{"/a.htm " + Date(-3)}));
  Frames(kFramesPerTick);
  ASSERT_EQ(run->Total(), 1);
  ASSERT_TRUE(RunEnded());
  EXPECT_EQ(Projects(), (std::vector<std::string>{"/a.htm " + Date(7)}));
}

TEST_F(Scheduler, AProjectSubmittedByHandTodayIsRemovedAndDoesNotRun) {
  Project("/a.htm", 10);
  Schedule({Line("/a.htm", -20, 30, Time(9, 0), "7")});
  MakeScheduler();
  scheduler->Start();
  ASSERT_EQ(scheduler->ScheduledCount(), 1);
  SetLastsub("/a.htm", 0);  // a run by hand since the list was built
  Frames(kFramesPerTick);
  EXPECT_EQ(std::vector<std::string>(scheduler->LogLines().begin() + 4, scheduler->LogLines().end()),
            Keys({"374", "379"}));
  EXPECT_EQ(run->Total(), 0);
  EXPECT_EQ(scheduler->ScheduledCount(), 0);
  RunUntil([] { return false; }, 50);
  EXPECT_TRUE(server.Received().empty());
  // It comes back with the next rebuild, at lastsub + 7.
  scheduler->RebuildList();
  EXPECT_EQ(Projects(), (std::vector<std::string>{"/a.htm " + Date(7)}));
}

TEST_F(Scheduler, TwoDueProjectsRunOneAfterTheOtherInMomentOrder) {
  Project("/late.htm", std::nullopt);
  Project("/early.htm", std::nullopt);
  Schedule({Line("/late.htm", 0, 30, Time(9, 0), "5"), Line("/early.htm", 0, 30, Time(8, 0), "5")});
  MakeScheduler();
  scheduler->Start();
  ASSERT_EQ(Projects(), (std::vector<std::string>{"/early.htm " + Date(0), "/late.htm " + Date(0)}));

  Frames(kFramesPerTick);
  ASSERT_EQ(run->Total(), 1);
  EXPECT_EQ(run->Queue().Entries()[0].project, "/early.htm");
  // The run is under way (no event has been handled yet): the next tick leaves it alone.
  Frames(kFramesPerTick);
  EXPECT_EQ(run->Total(), 1);
  EXPECT_EQ(scheduler->ScheduledCount(), 1);

  ASSERT_TRUE(RunEnded());
  EXPECT_EQ(Projects(), (std::vector<std::string>{"/late.htm " + Date(0), "/early.htm " + Date(5)}));
  // The next tick empties the ended queue and takes the other one.
  Frames(kFramesPerTick);
  ASSERT_EQ(run->Total(), 1);
  EXPECT_EQ(run->Queue().Entries()[0].project, "/late.htm");
  ASSERT_TRUE(RunEnded());
  EXPECT_EQ(Lastsub("/late.htm"), Date(0));
  EXPECT_EQ(Projects(), (std::vector<std::string>{"/early.htm " + Date(5), "/late.htm " + Date(5)}));
  // Nothing is due now; an ended queue is still emptied at the next tick.
  Frames(kFramesPerTick);
  EXPECT_EQ(run->Total(), 0);
  EXPECT_TRUE(run->Queue().Entries().empty());
}

TEST_F(Scheduler, AScheduledStartGoesThroughTheStartChecks) {
  WriteSettings("0", 5, 30);  // the database was never updated
  Project("/a.htm", std::nullopt);
  Schedule({Line("/a.htm", 0, 30, Time(9, 0), "7")});
  MakeScheduler();
  scheduler->Start();
  answerer.Answer(mrNo);
  Frames(kFramesPerTick);
  ASSERT_EQ(answerer.Calls().size(), 1u);
  EXPECT_EQ(answerer.Calls()[0].text, Lookup("170"));
  EXPECT_EQ(run->Total(), 1);
  EXPECT_FALSE(run->Active());
  EXPECT_TRUE(server.Received().empty());
}

TEST_F(Scheduler, HangsUpAtEveryFrameOnlyWhileNoScheduledRunIsUnderWay) {
  dir.Write("dfd.ini", "[Application]\r\nupdate=1\r\nOnDemand=1\r\nHangUp=1\r\n");
  Project("/a.htm", std::nullopt);
  Schedule({Line("/a.htm", 0, 30, Time(9, 0), "7")});
  test::CountingConnection net;
  connection = std::make_unique<TConnectionSettings>(state.folder);
  run = std::make_unique<TRunControl>(state, catalogue, *connection, answerer, net);
  run->SetOwnTimer(false);
  MakeScheduler(&net);
  scheduler->Start();
  Frames(kFramesPerTick - 1);
  EXPECT_EQ(net.hangUps, 0);  // the dial-up connection is made active by the first tick
  Frames(1);
  ASSERT_TRUE(run->ScheduledRun());
  Frames(20);
  EXPECT_EQ(net.hangUps, 0);
  ASSERT_TRUE(RunEnded());
  Frames(3);
  EXPECT_EQ(net.hangUps, 3);
  EXPECT_EQ(net.dials, 0);  // connected: nothing to dial
}

TEST_F(Scheduler, TheTrayShowsTheScheduledLookWhileAScheduledEntryRuns) {
  Project("/a.htm", std::nullopt);
  Schedule({Line("/a.htm", 0, 30, Time(9, 0), "7")});
  MakeScheduler();
  std::vector<std::pair<int, bool>> frames;
  scheduler->OnFrameChanged = [&](int f, bool s) { frames.emplace_back(f, s); };
  scheduler->Start();
  Frames(kFramesPerTick + 1);
  ASSERT_EQ(frames.size(), static_cast<size_t>(kFramesPerTick + 1));
  EXPECT_EQ(frames[0], std::make_pair(0, false));
  EXPECT_EQ(frames[17], std::make_pair(1, false));
  EXPECT_EQ(frames.back(), std::make_pair(0, true));
  ASSERT_TRUE(RunEnded());
  Frames(1);
  EXPECT_EQ(frames.back(), std::make_pair(1, false));
}

TEST_F(Scheduler, TheEditorWritesTheScheduleFileAndARunningSchedulerRebuilds) {
  dir.Write("data/domains/domains.zro", "[List]\r\ndom.example\r\n");
  dir.Write("data/domains/dom.example.zro", "[List]\r\n/a.htm\r\n");
  Project("/a.htm", std::nullopt);
  TProjectEditor editor(state, answerer);
  MakeScheduler();
  scheduler->BindEditor(editor);
  int rebuilt = 0;
  scheduler->OnListRebuilt = [&] { ++rebuilt; };
  editor.LoadDomains();
  ASSERT_TRUE(editor.ProjectLoaded());

  editor.SetOption("scheduled", true);
  const std::string entry = "dom.example|/a.htm=" + Date(0) + "|" + Date(0) + "|" +
                            regional::FormatTime(editor.BestTime()) + "|30";
  EXPECT_NE(dir.Read("data/schedule.sch").find(entry), std::string::npos) << dir.Read("data/schedule.sch");
  EXPECT_NE(dir.Read("data/domains/projects/dom.example/_a.htm.zro").find("scheduled=-1"), std::string::npos);
  EXPECT_EQ(rebuilt, 0);  // the scheduler does not run

  scheduler->Start();
  EXPECT_EQ(scheduler->ScheduledCount(), 1);
  rebuilt = 0;
  editor.LeaveDaysBetween("14");
  editor.LeaveEndDate(now.date().addDays(60));
  EXPECT_NE(dir.Read("data/schedule.sch").find("|" + Date(60) + "|"), std::string::npos);
  EXPECT_NE(dir.Read("data/schedule.sch").find("|14\r\n"), std::string::npos);
  EXPECT_EQ(rebuilt, 2);
  // A start past the end date takes the end date with it, in the file and in the entry.
  editor.LeaveStartDate(now.date().addDays(90));
  EXPECT_EQ(editor.EndDate(), now.date().addDays(90));
  EXPECT_NE(dir.Read("data/schedule.sch").find("=" + Date(90) + "|" + Date(90) + "|"), std::string::npos)
      << dir.Read("data/schedule.sch");
  EXPECT_NE(dir.Read("data/domains/projects/dom.example/_a.htm.zro").find("enddate=" + Date(90) + "\r\n"),
            std::string::npos);
  EXPECT_EQ(rebuilt, 3);

  editor.SetOption("scheduled", false);
  EXPECT_EQ(dir.Read("data/schedule.sch").find("dom.example|"), std::string::npos);
  EXPECT_EQ(scheduler->ScheduledCount(), 0);
  EXPECT_EQ(rebuilt, 4);
  // A field left while unscheduled writes no entry.
  editor.LeaveDaysBetween("3");
  EXPECT_EQ(dir.Read("data/schedule.sch").find("dom.example|"), std::string::npos);
}

TEST_F(Scheduler, ARunThatOutlivesItsSchedulerCallsNothingOfIt) {
  Project("/a.htm", std::nullopt);
  Schedule({Line("/a.htm", 0, 30, Time(9, 0), "7")});
  MakeScheduler();
  scheduler->Start();
  Frames(kFramesPerTick);
  ASSERT_TRUE(run->ScheduledRun());
  scheduler.reset();
  ASSERT_TRUE(RunEnded());  // its end would rebuild the list of a scheduler that is gone
  EXPECT_EQ(Lastsub("/a.htm"), Date(0));
}

// The program's start: TSummit restarts an attached scheduler when [Application] schedule
// read on.
class SchedulerRestart : public test::SchedulerFixture {
 protected:
  void Prepare(const std::string& flag) {
    std::filesystem::copy(QS_SOURCE_DIR "/data", dir.Root(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::skip_existing);
    dir.Write("dfd.ini", "[Application]\r\nupdate=1\r\nschedule=" + flag + "\r\n");
    dir.Write("data/domains/domains.zro", "[List]\r\ndom.example\r\n");
    dir.Write("data/domains/dom.example.zro", "[List]\r\n/a.htm\r\n");
    Project("/a.htm", std::nullopt);
    Schedule({Line("/a.htm", 0, 30, Time(9, 0), "7")});
  }
  void TearDown() override {
    if (summit) summit->catalogue.Close();
    summit.reset();
    test::SchedulerFixture::TearDown();
  }
  TScheduler& StartProgram() {
    summit = std::make_unique<TSummit>(dir.AppFolder());
    // The run of the program, over the program's own state.
    run = std::make_unique<TRunControl>(summit->state, summit->catalogue, *connection, answerer, internet);
    run->SetOwnTimer(false);
    TScheduler& s = summit->AttachScheduler(*run, *connection, internet, answerer, Platform());
    s.OnGoToTray = [this] { ++toTray; };
    EXPECT_TRUE(summit->Start(answerer));
    return s;
  }
  std::unique_ptr<TSummit> summit;
  int toTray = 0;
};

TEST_F(SchedulerRestart, AScheduleLeftOnRestartsTheSchedulerWithTheShutdownLines) {
  Prepare("1");
  dir.Write("home/.config/autostart/QuorvexEnt.desktop",
            "[Desktop Entry]\nType=Application\nExec=\"/old/place\"\n");
  TScheduler& s = StartProgram();
  ASSERT_TRUE(s.Running());
  const auto& lang = summit->state.languageTable;
  EXPECT_EQ(s.LogLines(), (std::vector<std::string>{lang.Lookup("367"), lang.Lookup("368"),
                                                   lang.Lookup("370"), lang.Lookup("371"),
                                                   lang.Lookup("372")}));
  EXPECT_EQ(s.LogLines()[0], "Windows shutdown detected...");
  EXPECT_EQ(toTray, 1);
  EXPECT_EQ(s.ScheduledCount(), 1);
  EXPECT_TRUE(s.Autostart().Autostart());
  // The restart submits like a start by hand.
  Frames(kFramesPerTick);
  EXPECT_EQ(run->Total(), 1);
  ASSERT_TRUE(RunEnded());
}

TEST_F(SchedulerRestart, AScheduleLeftOffStartsNothingAndKeepsNoEntry) {
  Prepare("0");
  TScheduler& s = StartProgram();
  EXPECT_FALSE(s.Running());
  EXPECT_TRUE(s.LogLines().empty());
  EXPECT_EQ(toTray, 0);
  EXPECT_FALSE(dir.Exists("home/.config/autostart/QuorvexEnt.desktop"));
}

}  // namespace
}  // namespace qs
