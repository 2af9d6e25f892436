// The project editor: loading with defaults, writing every field back, counters, the
// schedule hooks, and the delete and clear commands with what they remove.
#include "projects/projecteditor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/clock.h"
#include "app/errors.h"
#include "store/biginifile.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() : now(QDateTime(QDate(2026, 12, 10), QTime(9, 30, 15))) {
    state.folder = dir.AppFolder();
    dir.Write("data/default.hst", "Submit Date,Scheduled,Status,Generated Report,\r\n");
  }

  // A domain with projects; each project file gets `body` after its section line.
  void Domain(const std::string& domain, const std::vector<std::string>& listed,
              const std::string& body = "") {
    std::string list = "[Session]\r\nCount=" + std::to_string(listed.size()) + "\r\n[List]\r\n";
    for (const auto& p : listed) {
      list += p + "\r\n";
      std::string key = p;
      for (char& c : key)
        if (c == '/') c = '_';
      dir.Write("data/domains/projects/" + domain + "/" + key + ".zro",
                "[" + key + "]\r\nurl=http://" + domain + p + "\r\n" + body);
    }
    dir.Write("data/domains/" + domain + ".zro", list);
    domains.push_back(domain);
    std::string all = "[Domains]\r\nCount=" + std::to_string(domains.size()) + "\r\n[List]\r\n";
    for (const auto& d : domains) all += d + "\r\n";
    dir.Write("data/domains/domains.zro", all);
  }
  std::string Project(const std::string& domain, const std::string& key) {
    return dir.Read("data/domains/projects/" + domain + "/" + key + ".zro");
  }
  std::string ProjectKeyValue(const std::string& key) {
    TBigIniFile ini(dir.Path("data/domains/projects/" + editor.CurrentDomain() + "/" +
                             editor.CurrentProjectKey() + ".zro"));
    std::string v = ini.ReadText(editor.CurrentProjectKey(), key, "<none>");
    ini.Close();
    return v;
  }

  clock::Fixed now;
  test::TempFolder dir;
  TAppState state;
  TScriptedAnswerer answers;
  TProjectEditor editor{state, answers};
  std::vector<std::string> domains;
};

TEST_F(EditorTest, LoadingFillsEveryFieldWithItsDefault) {
  Domain("site.com", {"Index", "/b.htm"}, "title=Home\r\nsubmitcustom=7\r\nsubmitffa=0\r\n");
  editor.LoadDomains();
  EXPECT_EQ(editor.CurrentDomain(), "site.com");
  EXPECT_EQ(editor.Projects(), (std::vector<std::string>{"/b.htm", "Index"}));
  EXPECT_EQ(editor.CurrentProjectKey(), "_b.htm");
  EXPECT_EQ(editor.Text("url"), "http://site.com/b.htm");
  EXPECT_EQ(editor.Text("title"), "Home");
  EXPECT_EQ(editor.Text("company"), "");
  EXPECT_TRUE(editor.Option("submitengines"));
  EXPECT_FALSE(editor.Option("submitffa"));
  EXPECT_TRUE(editor.Option("submitnetworks"));
  EXPECT_TRUE(editor.Option("genreport"));
  EXPECT_FALSE(editor.Option("emailreport"));
  EXPECT_FALSE(editor.Option("scheduled"));
  EXPECT_EQ(editor.DatabaseChoice(), TDatabaseChoice::MainOnly);  // "7" shows Main only
  EXPECT_EQ(editor.StartDate(), QDate(2026, 12, 10));
  EXPECT_EQ(editor.EndDate(), QDate(2026, 12, 10));
  EXPECT_EQ(editor.BestTime(), QTime(9, 30, 15));
  EXPECT_EQ(editor.DaysBetween(), "30");
  EXPECT_EQ(editor.HistoryLines(), (std::vector<std::string>{"Submit Date,Scheduled,Status,Generated Report,"}));
  const auto identity = dir.Identity("data/domains/projects/site.com/_b.htm.zro");
  editor.SelectProject(1);
  EXPECT_EQ(dir.Identity("data/domains/projects/site.com/_b.htm.zro"), identity);  // nothing written
}

TEST_F(EditorTest, StoredOptionsAndDates) {
  Domain("site.com", {"Index"},
         "submitcustom=2\r\nemailreport=-1\r\nscheduled=1\r\ngenreport=0\r\nstartdate=1/2/2027\r\n"
         "enddate=\r\nbesttime=11:04:05 PM\r\ndaysbetween=7\r\n");
  dir.Write("data/domains/projects/site.com/Index.hst", "h\r\nrow1\r\n");
  editor.LoadDomains();
  EXPECT_EQ(editor.DatabaseChoice(), TDatabaseChoice::CustomOnly);
  EXPECT_TRUE(editor.Option("emailreport"));
  EXPECT_TRUE(editor.Option("scheduled"));
  EXPECT_FALSE(editor.Option("genreport"));
  EXPECT_EQ(editor.StartDate(), QDate(2027, 1, 2));
  EXPECT_EQ(editor.EndDate(), QDate(2026, 12, 10));  // empty: today
  EXPECT_EQ(editor.BestTime(), QTime(23, 4, 5));
  EXPECT_EQ(editor.DaysBetween(), "7");
  EXPECT_EQ(editor.HistoryLines(), (std::vector<std::string>{"h", "row1"}));
}

TEST_F(EditorTest, AnUnreadableDateStopsLoadingAtThatField) {
  Domain("site.com", {"Index"}, "title=Kept\r\nsubmitengines=0\r\nstartdate=31.12.2026\r\nbesttime=1:00:00 AM\r\n");
  EXPECT_THROW(editor.LoadDomains(), ConversionError);
  EXPECT_EQ(editor.Text("title"), "Kept");
  EXPECT_FALSE(editor.Option("submitengines"));
  EXPECT_EQ(editor.BestTime(), QTime(9, 30, 15));  // not reached
}

TEST_F(EditorTest, EveryFieldIsWrittenToItsKey) {
  Domain("site.com", {"Index"});
  editor.LoadDomains();
  struct Case {
    std::function<void()> change;
    const char* key;
    const char* value;
  } cases[] = {
      {[&] { editor.SetText("title", "T"); }, "title", "T"},
      {[&] { editor.SetText("catagory", "Arts"); }, "catagory", "Arts"},
      {[&] { editor.SetText("alt_email", "a@b"); }, "alt_email", "a@b"},
      {[&] { editor.SetText("zip", "12345"); }, "zip", "12345"},
      {[&] { editor.SetOption("submitengines", false); }, "submitengines", "0"},
      {[&] { editor.SetOption("submitffa", true); }, "submitffa", "-1"},
      {[&] { editor.SetOption("emailreport", true); }, "emailreport", "-1"},
      {[&] { editor.SetOption("scheduled", true); }, "scheduled", "-1"},
      {[&] { editor.SetDatabaseChoice(TDatabaseChoice::IncludeCustom); }, "submitcustom", "1"},
      {[&] { editor.SetDatabaseChoice(TDatabaseChoice::CustomOnly); }, "submitcustom", "2"},
      {[&] { editor.SetDatabaseChoice(TDatabaseChoice::MainOnly); }, "submitcustom", "0"},
      {[&] { editor.LeaveStartDate(QDate(2027, 3, 4)); }, "startdate", "3/4/2027"},
      {[&] { editor.LeaveEndDate(QDate(2027, 5, 6)); }, "enddate", "5/6/2027"},
      {[&] { editor.LeaveBestTime(QTime(14, 0, 0)); }, "besttime", "2:00:00 PM"},
      {[&] { editor.LeaveDaysBetween("1x4"); }, "daysbetween", "14"},
  };
  for (const auto& c : cases) {
    c.change();
    EXPECT_EQ(ProjectKeyValue(c.key), c.value) << c.key;
  }
  for (std::string_view key : kEditorTextKeys) {
    editor.SetText(key, "v-" + std::string(key));
    EXPECT_EQ(ProjectKeyValue(std::string(key)), "v-" + std::string(key));
  }
  EXPECT_THROW(editor.SetText("lastsub", "x"), NameError);
}

TEST_F(EditorTest, EachKeyReleaseRewritesTheFile) {
  Domain("site.com", {"Index"});
  editor.LoadDomains();
  const std::string file = "data/domains/projects/site.com/Index.zro";
  auto identity = dir.Identity(file);
  std::string typed;
  for (char c : std::string("abc")) {
    typed += c;
    editor.SetText("title", typed);
    EXPECT_NE(dir.Identity(file), identity) << typed;
    identity = dir.Identity(file);
  }
  EXPECT_EQ(ProjectKeyValue("title"), "abc");
  EXPECT_EQ(editor.TitleCounter(), (TCounter{3, true}));
}

TEST_F(EditorTest, Counters) {
  struct Case {
    const char* key;
    std::string text;
    TCounter counter;
  } cases[] = {
      {"title", std::string(60, 't'), {60, true}},
      {"title", std::string(61, 't'), {61, false}},
      {"title", "caf\xC3\xA9", {4, true}},  // characters, not bytes
      {"description", std::string(250, 'd'), {250, true}},
      {"description", std::string(251, 'd'), {251, false}},
      {"key1", "", {0, true}},
      {"key1", "a, b, c", {3, true}},
      {"key1", ",", {2, true}},
      {"key1", std::string(250, ','), {251, false}},
  };
  for (const auto& c : cases) {
    editor.SetText(c.key, c.text);
    TCounter got = std::string(c.key) == "title"         ? editor.TitleCounter()
                   : std::string(c.key) == "description" ? editor.DescriptionCounter()
                                                         : editor.KeywordsCounter();
    EXPECT_EQ(got, c.counter) << c.key << " " << c.text.size();
  }
}

TEST_F(EditorTest, TheRankingKeywordListFollowsTheKeywordsWhileItsPageIsCurrent) {
  editor.SetText("key1", "x, y");
  EXPECT_TRUE(editor.RankingKeywords().empty());
  editor.rankingPageCurrent = true;
  editor.SetText("key1", "a, b ,c");
  EXPECT_EQ(editor.RankingKeywords(), (std::vector<std::string>{"a", "b", "c"}));
  Domain("site.com", {"Index"}, "key1=seo , tools\r\n");
  editor.LoadDomains();
  EXPECT_EQ(editor.RankingKeywords(), (std::vector<std::string>{"seo", "tools"}));
}

TEST_F(EditorTest, DateRulesAndScheduleHooks) {
  Domain("site.com", {"/my_page.htm"});
  editor.LoadDomains();
  std::vector<TScheduleFields> written;
  int left = 0;
  std::vector<bool> clicked;
  editor.OnScheduleFieldsChanged = [&](const TScheduleFields& f) { written.push_back(f); };
  editor.OnScheduleFieldLeft = [&] { ++left; };
  editor.OnScheduledChanged = [&](bool on) { clicked.push_back(on); };

  editor.LeaveStartDate(QDate(2027, 1, 5));
  EXPECT_EQ(editor.EarliestStartDate(), QDate(2026, 12, 10));
  EXPECT_EQ(editor.EarliestEndDate(), QDate(2027, 1, 5));
  EXPECT_TRUE(written.empty());  // not scheduled: no entry
  EXPECT_EQ(left, 1);

  editor.SetOption("scheduled", true);
  EXPECT_EQ(clicked, std::vector<bool>{true});
  editor.LeaveDaysBetween("10");
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].domain, "site.com");
  EXPECT_EQ(written[0].listedName, "/my/page.htm");  // rebuilt from the key
  EXPECT_EQ(written[0].startDate, QDate(2027, 1, 5));
  EXPECT_EQ(written[0].daysBetween, "10");
  editor.LeaveEndDate(QDate(2027, 2, 1));
  editor.LeaveBestTime(QTime(8, 0));
  EXPECT_EQ(written.size(), 3u);
  EXPECT_EQ(left, 4);

  // Dates typed before their earliest are stored as the earliest.
  const struct {
    bool start;
    QDate typed, stored;
  } typed[] = {{true, QDate(2020, 1, 1), QDate(2026, 12, 10)},   // before today
               {false, QDate(2026, 11, 1), QDate(2026, 12, 10)},  // before the start
               {true, QDate(2027, 6, 1), QDate(2027, 6, 1)},
               {false, QDate(2027, 7, 1), QDate(2027, 7, 1)}};
  for (const auto& t : typed) {
    if (t.start) editor.LeaveStartDate(t.typed);
    else editor.LeaveEndDate(t.typed);
    EXPECT_EQ(t.start ? editor.StartDate() : editor.EndDate(), t.stored) << t.typed.toString().toStdString();
    EXPECT_EQ(written.back().startDate, editor.StartDate());
    EXPECT_EQ(written.back().endDate, editor.EndDate());
  }
}

TEST_F(EditorTest, DeletingProjectsRemovesTheirFilesAndReportsAndSelectsTheNeighbour) {
  Domain("site.com", {"/a", "/b", "/c"});
  const std::string folder = dir.Root() + "/data/domains/projects/site.com/";
  dir.Write("data/domains/projects/site.com/_c.hst",
            "Submit Date,Scheduled,Status,Generated Report,\r\n"
            "12/1/2026,No,Completed,<a href=\"" + folder + "_c1212026.htm\">View Report</a>,\r\n"
            "12/2/2026,No,Completed,No,\r\n"
            "12/3/2026,No,Completed,<a href=\"" + dir.Root() + "/outside.htm\">View Report</a>,\r\n");
  dir.Write("data/domains/projects/site.com/_c1212026.htm", "report");
  dir.Write("outside.htm", "not ours");
  editor.LoadDomains();
  editor.SelectProject(2);
  editor.DeleteSelectedProject();  // the last one: the one before it is selected
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/_c.zro"));
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/_c.hst"));
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/_c1212026.htm"));
  EXPECT_TRUE(dir.Exists("outside.htm"));
  EXPECT_EQ(editor.Projects(), (std::vector<std::string>{"/a", "/b"}));
  EXPECT_EQ(editor.SelectedProject(), 1);
  EXPECT_EQ(editor.CurrentProjectKey(), "_b");
  EXPECT_EQ(dir.Read("data/domains/site.com.zro"), "[Session]\r\nCount=2\r\n\r\n[List]\r\n/a\r\n/b\r\n\r\n");

  editor.SelectProject(0);
  editor.DeleteSelectedProject();  // otherwise the same position
  EXPECT_EQ(editor.CurrentProjectKey(), "_b");
  editor.DeleteSelectedProject();  // the only one: an empty editor
  EXPECT_FALSE(editor.ProjectLoaded());
  EXPECT_EQ(editor.Text("url"), "");
  EXPECT_EQ(editor.HistoryLines().size(), 1u);
  editor.DeleteSelectedProject();
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "You have not selected a project to Delete");
}

TEST_F(EditorTest, CheckedAndAllProjects) {
  Domain("site.com", {"/a", "/b", "/c", "/d"});
  editor.LoadDomains();
  editor.SetChecked("/b", true);
  editor.SetChecked("/d", true);
  editor.DeleteCheckedProjects();
  EXPECT_EQ(editor.Projects(), (std::vector<std::string>{"/a", "/c"}));
  EXPECT_TRUE(answers.Calls().empty());  // no question

  answers.Answer(mrNo);
  editor.DeleteAllProjects();
  EXPECT_EQ(editor.Projects().size(), 2u);
  answers.Answer(mrYes);
  editor.DeleteAllProjects();
  EXPECT_TRUE(editor.Projects().empty());
  EXPECT_EQ(answers.Calls().back().text, "Are you sure you want to delete all projects?");
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/_a.zro"));
}

TEST_F(EditorTest, DeletingADomainRemovesItsProjectsAndListButKeepsItsFolder) {
  Domain("a.com", {"Index"});
  Domain("b.com", {"/x", "/y"});
  Domain("c.com", {"Index"});
  const std::string folder = dir.Root() + "/data/domains/projects/b.com/";
  dir.Write("data/domains/projects/b.com/_x.hst",
            "head\r\n1/1/2026,Yes,Completed,<a href=\"" + folder + "_x112026.htm\">View Report</a>,\r\n");
  dir.Write("data/domains/projects/b.com/_x112026.htm", "r");
  editor.LoadDomains();
  editor.SelectDomain(1);
  answers.Answer(mrCancel);  // a closed window means No
  editor.DeleteSelectedDomain();
  EXPECT_EQ(editor.Domains().size(), 3u);
  answers.Answer(mrYes);
  editor.DeleteSelectedDomain();
  EXPECT_EQ(answers.Calls().back().text, "Are you sure you want to delete the domain and all projects?");
  EXPECT_EQ(editor.Domains(), (std::vector<std::string>{"a.com", "c.com"}));
  EXPECT_EQ(editor.CurrentDomain(), "c.com");
  for (const char* gone : {"data/domains/b.com.zro", "data/domains/projects/b.com/_x.zro",
                           "data/domains/projects/b.com/_y.zro", "data/domains/projects/b.com/_x.hst",
                           "data/domains/projects/b.com/_x112026.htm"})
    EXPECT_FALSE(dir.Exists(gone)) << gone;
  EXPECT_TRUE(dir.Exists("data/domains/projects/b.com"));
  EXPECT_EQ(dir.Read("data/domains/domains.zro"),
            "[Domains]\r\nCount=2\r\n\r\n[List]\r\na.com\r\nc.com\r\n\r\n");

  answers.Answer(mrYes);
  editor.DeleteAllDomains();
  EXPECT_TRUE(editor.Domains().empty());
  EXPECT_TRUE(editor.Projects().empty());
  EXPECT_FALSE(dir.Exists("data/domains/a.com.zro"));
  EXPECT_EQ(answers.Calls().back().text, "Are you sure you want to delete all domains and projects?");
  editor.DeleteSelectedDomain();
  EXPECT_EQ(answers.Calls().back().text, "You have not selected a domain to Delete");
  EXPECT_FALSE(editor.MayCreateProject());
  EXPECT_EQ(answers.Calls().back().text, "You have to create a domain before you can make a project.");
}

TEST_F(EditorTest, DeletingSkipsMissingFilesAndProjectsThatCannotBeLoaded) {
  Domain("site.com", {"/a", "/b"}, "startdate=not a date\r\n");
  std::filesystem::remove(dir.Path("data/domains/projects/site.com/_a.zro"));
  editor.LoadDomains();  // /a: no file, every default
  EXPECT_THROW(editor.SelectProject(1), ConversionError);
  answers.Answer(mrYes);
  editor.DeleteAllProjects();
  EXPECT_TRUE(editor.Projects().empty());
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/_b.zro"));
}

TEST_F(EditorTest, ClearHistory) {
  Domain("site.com", {"Index"});
  const std::string folder = dir.Root() + "/data/domains/projects/site.com/";
  // An older line names its report by its full path, a newer one relative to the folder.
  dir.Write("data/domains/projects/site.com/Index.hst",
            "head\r\n1/1/2026,No,Completed,<a href=\"" + folder + "Index112026.htm\">View Report</a>,\r\n"
            "1/2/2026,No,Completed,<a href=\"data/domains/projects/site.com/Index122026.htm\">View Report</a>,\r\n"
            "1/3/2026,No,Completed,<a href=\"data/domains/projects/site.com/../other.htm\">View Report</a>,\r\n");
  dir.Write("data/domains/projects/site.com/Index112026.htm", "r");
  dir.Write("data/domains/projects/site.com/Index122026.htm", "r");
  dir.Write("data/domains/projects/other.htm", "not ours");
  editor.LoadDomains();
  EXPECT_EQ(editor.HistoryLines().size(), 4u);
  editor.ClearHistory();
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/Index.hst"));
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/Index112026.htm"));
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.com/Index122026.htm"));
  EXPECT_TRUE(dir.Exists("data/domains/projects/other.htm"));
  EXPECT_TRUE(dir.Exists("data/domains/projects/site.com/Index.zro"));
  EXPECT_EQ(editor.HistoryLines(), (std::vector<std::string>{"Submit Date,Scheduled,Status,Generated Report,"}));
  EXPECT_TRUE(answers.Calls().empty());
}

}  // namespace
}  // namespace qs
