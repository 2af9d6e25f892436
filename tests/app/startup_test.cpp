// The start-up preparation: step order and captions, what each step loads, and how a
// failing step stops the rest.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "app/clock.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() { state.folder = dir.AppFolder(); }

  bool RunStartup() {
    TStartup startup(state, answers);
    for (auto& [step, action] : plugged) startup.Add(step, action);
    startup.OnCaption = [this](const std::string& c) { captions.push_back(c); };
    return startup.Run();
  }

  test::TempFolder dir;
  TAppState state;
  TScriptedAnswerer answers;
  std::vector<std::string> captions;
  std::vector<std::pair<TStartupStep, TStartup::Action>> plugged;
};

TEST_F(StartupTest, AnEmptyFolderGivesEveryDefault) {
  EXPECT_TRUE(RunStartup());
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "Loading...", "Loading... Domains", "Loading... Ranking",
                          "Loading... Projects", "Loading... Manual Database",
                          "Loading... Doorway settings", "Loading... Report Settings",
                          "Loading... Search engine database"}));
  EXPECT_EQ(state.caption, "Quorvex Summit v5.5");
  EXPECT_EQ(state.applicationTitle, "Quorvex Summit v5.5");
  EXPECT_FALSE(state.schedulerFlag);
  EXPECT_EQ(state.languageName, "english");
  EXPECT_TRUE(state.domains.empty());
  EXPECT_TRUE(state.projects.empty());
  EXPECT_EQ(state.currentProjectKey, "");
  EXPECT_EQ(state.report.templateFile, dir.Root() + "/data/domains/report-template.htm");
  EXPECT_EQ(state.doorway.borderColor, 0x00C0C0C0u);
  EXPECT_TRUE(answers.Calls().empty());
  EXPECT_FALSE(dir.Exists("dfd.ini"));
}

// What killed writes left behind goes at start-up; what a writer still at work, a lock or
// the user keeps there stays.
TEST_F(StartupTest, StaleTemporaryFilesOfKilledWritesAreRemoved) {
  const struct {
    const char* file;
    bool old, stays;
  } cases[] = {
      {".dfd.ini.a1B2c3", true, false},
      {"data/.data.czc.Zz9Yy8", true, false},
      {"data/domains/.domains.zro.000000", true, false},
      {"data/domains/projects/a.com/.Index.zro.q1w2e3", true, false},
      {"data/domains/projects/a.com/.Index.zro.r4t5y6", false, true},  // still being written
      {"data/domains/projects/a.com/.Index.zro.lock", true, true},
      {"data/domains/projects/a.com/Index.zro.a1b2c3", true, true},  // not hidden
      {"data/domains/projects/a.com/.Index.zro.a1-2c3", true, true},
      {"data/help/.page.htm.a1b2c3", true, true},  // not a folder the program writes
  };
  for (const auto& c : cases) {
    dir.Write(c.file, "x");
    if (c.old)
      std::filesystem::last_write_time(dir.Path(c.file), std::filesystem::file_time_type::clock::now() -
                                                              std::chrono::minutes(2));
  }
  EXPECT_TRUE(RunStartup());
  for (const auto& c : cases) EXPECT_EQ(dir.Exists(c.file), c.stays) << c.file;
}

TEST_F(StartupTest, LoadsDomainsTheFirstDomainsProjectsAndTheSettings) {
  clock::Fixed now(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
  dir.Write("lang.ini", "lang=custom\n47=Senden\n");
  dir.Write("data/domains/domains.zro", "[Domains]\nCount=9\n[List]\nzeta.com\nAlpha.com\nbeta.com\n");
  dir.Write("data/domains/Alpha.com.zro", "[List]\n/b/c.htm\n/a.htm\n");
  dir.Write("data/ranking.czc", "[List]\nEngine B\nEngine A\n");
  dir.Write("dfd.ini",
            "[Application]\nschedule=1\nlang=spanish\napp=Site Promoter\nsubtemplate=/t/r.htm\n"
            "dbup=1/2/2026\n[Report]\nborder=3\ntemplatefile=/other.htm\nbands=0\n"
            "[Doorway]\ntitlecolor=00ABCDEF\njava=ON\n");
  dir.Write("data/doorheader.htm", "<html>");
  EXPECT_TRUE(RunStartup());
  EXPECT_EQ(state.languageTable.Lookup("47"), "Senden");
  EXPECT_EQ(state.domains, (std::vector<std::string>{"Alpha.com", "beta.com", "zeta.com"}));
  EXPECT_EQ(state.currentDomain, "Alpha.com");
  EXPECT_EQ(state.projects, (std::vector<std::string>{"/a.htm", "/b/c.htm"}));
  EXPECT_EQ(state.currentProjectKey, "_a.htm");
  EXPECT_EQ(state.rankingEngines, (std::vector<std::string>{"Engine B", "Engine A"}));
  EXPECT_TRUE(state.schedulerFlag);
  EXPECT_EQ(state.caption, "Site Promoter v5.5");
  EXPECT_EQ(state.report.border, 3);
  EXPECT_FALSE(state.report.bands);
  EXPECT_EQ(state.report.templateFile, "/t/r.htm");  // subtemplate wins over templatefile
  EXPECT_EQ(state.doorway.titleColor, 0x00ABCDEFu);
  EXPECT_EQ(state.doorway.java, "ON");
  EXPECT_EQ(state.doorway.header, "<html>");
  EXPECT_EQ(state.doorway.footer, "");
  EXPECT_EQ(state.dbUp, "1/2/2026");
  EXPECT_EQ(state.softUp, "11/10/2026");
}

TEST_F(StartupTest, ABadColourStopsTheRestAndIsShown) {
  dir.Write("dfd.ini", "[Doorway]\nbodycolor=black\n[Report]\nborder=4\n");
  bool engines = false;
  plugged.push_back({TStartupStep::EngineDatabase, [&](TAppState&) { engines = true; }});
  EXPECT_FALSE(RunStartup());
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].type, TMsgDlgType::Error);
  EXPECT_NE(answers.Calls()[0].text.find("black"), std::string::npos);
  EXPECT_EQ(state.report.border, 4);  // read before the failing key
  EXPECT_FALSE(engines);
  EXPECT_EQ(captions.back(), "Loading... Doorway settings");
  EXPECT_EQ(state.caption, "Quorvex Summit v5.5");
}

TEST_F(StartupTest, PluggedStepsRunInOrderAndAFailureSkipsTheRest) {
  std::vector<std::string> ran;
  plugged.push_back({TStartupStep::ManualDatabase, [&](TAppState&) { ran.push_back("manual"); }});
  plugged.push_back({TStartupStep::Splash, [&](TAppState&) { ran.push_back("splash"); }});
  plugged.push_back({TStartupStep::EngineDatabase, [&](TAppState&) {
                       ran.push_back("engines");
                       throw std::runtime_error("Cannot open data.czc");
                     }});
  plugged.push_back({TStartupStep::Categories, [&](TAppState&) { ran.push_back("categories"); }});
  EXPECT_FALSE(RunStartup());
  EXPECT_EQ(ran, (std::vector<std::string>{"splash", "manual", "engines"}));
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "Cannot open data.czc");
}

}  // namespace
}  // namespace qs
