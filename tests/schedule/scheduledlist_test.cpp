// The scheduled list built from the schedule file: the next date rules, the end date filter,
// entries whose project file is gone, unreadable entries, the DOS date-time and the order.
#include "schedule/scheduledlist.h"

#include <gtest/gtest.h>

#include "app/clock.h"
#include "platform/regional.h"
#include "projects/naming.h"
#include "schedule/schedulefile.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

class ScheduledListTest : public ::testing::Test {
 protected:
  std::string Date(int days) const { return regional::FormatDate(today.addDays(days)); }
  void Project(const std::string& listed, const std::string& lastsub) {
    const std::string key = ProjectKeyOf(listed);
    dir.Write("data/domains/projects/dom.example/" + key + ".zro",
              "[" + key + "]\r\nurl=http://dom.example" + listed + "\r\n" +
                  (lastsub.empty() ? "" : "lastsub=" + lastsub + "\r\n"));
  }
  void Schedule(const std::vector<std::string>& lines) {
    std::string text = "[other]\r\nkeep=1\r\n[scheduled]\r\n";
    for (const auto& l : lines) text += l + "\r\n";
    dir.Write("data/schedule.sch", text);
  }
  std::vector<std::string> Build() {
    list.Build(dir.AppFolder(), today);
    std::vector<std::string> rows;
    for (const auto& r : list.Rows()) rows.push_back(r.project + " " + r.submitDate + " " + r.time);
    return rows;
  }

  const QDate today{2026, 12, 10};
  test::TempFolder dir;
  ScheduledList list;
};

struct NextDateCase {
  const char* what;
  std::string lastsub;  // as stored
  int start, end;       // days from today
  std::string days;
  std::optional<int> next;  // days from today, or not listed
};

TEST_F(ScheduledListTest, NextDateAndEndDateRules) {
  const auto d = [&](int days) { return Date(days); };
  const std::vector<NextDateCase> cases = {
      {"never submitted: the start date", "", 2, 30, "7", 2},
      {"today minus one year counts as never submitted",
       regional::FormatDate(today.addYears(-1)), 5, 30, "7", 5},
      {"submitted: lastsub + days between", d(-10), -20, 30, "7", -3},
      {"no days between: the last submission's day", d(-1), -20, 30, "0", -1},
      {"a start long past never submitted: today", "", -400, 30, "7", 0},
      {"an end date before lastsub: not listed", d(-10), -20, -11, "7", std::nullopt},
      {"an end date on lastsub: listed", d(-10), -20, -10, "7", -3},
      {"an end date passed but after lastsub: still listed", d(-10), -20, -5, "30", 20},
      {"a lastsub that is no date: never submitted", "soon", 3, 30, "7", 3},
  };
  for (const NextDateCase& c : cases) {
    Project("/p.htm", c.lastsub);
    Schedule({"dom.example|/p.htm=" + d(c.start) + "|" + d(c.end) + "|9:00:00 AM|" + c.days});
    const auto rows = Build();
    if (!c.next) {
      EXPECT_TRUE(rows.empty()) << c.what;
    } else {
      EXPECT_EQ(rows, (std::vector<std::string>{"/p.htm " + d(*c.next) + " 9:00:00 AM"})) << c.what;
    }
    EXPECT_TRUE(list.Problems().empty()) << c.what;
  }
}

TEST_F(ScheduledListTest, AnEntryWhoseProjectFileIsGoneIsDroppedFromTheFile) {
  Project("/here.htm", "");
  Project("/sub/page.htm", "");
  Schedule({"dom.example|/gone.htm=" + Date(0) + "|" + Date(9) + "|9:00:00 AM|7",
            "dom.example|/here.htm=" + Date(0) + "|" + Date(9) + "|9:00:00 AM|7",
            "dom.example|/sub/page.htm=" + Date(1) + "|" + Date(9) + "|9:00:00 AM|7",
            "other.example|/here.htm=" + Date(0) + "|" + Date(9) + "|9:00:00 AM|7"});
  EXPECT_EQ(Build(), (std::vector<std::string>{"/here.htm " + Date(0) + " 9:00:00 AM",
                                               "/sub/page.htm " + Date(1) + " 9:00:00 AM"}));
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(TScheduleFile(dir.AppFolder()).Lines(),
            (std::vector<std::string>{
                "dom.example|/here.htm=" + Date(0) + "|" + Date(9) + "|9:00:00 AM|7",
                "dom.example|/sub/page.htm=" + Date(1) + "|" + Date(9) + "|9:00:00 AM|7"}));
  EXPECT_NE(dir.Read("data/schedule.sch").find("[other]\r\nkeep=1\r\n"), std::string::npos);
}

TEST_F(ScheduledListTest, EntriesThatCannotBeReadAreReportedAndTheOthersListed) {
  Project("/a.htm", "");
  Project("/b.htm", "");
  Project("/c.htm", "");
  Project("/d.htm", Date(-3));
  Schedule({"no bar here=1|2|3|4",
            "dom.example|/a.htm=" + Date(0) + "|" + Date(9) + "|half past nine|7",
            "dom.example|/b.htm=" + Date(0) + "|" + Date(9),
            "dom.example|/c.htm=" + Date(0) + "|" + Date(9) + "|9:00:00 AM|7",
            "dom.example|/d.htm=" + Date(0) + "|" + Date(9) + "|9:00:00 AM|",
            "../escape|/a.htm=" + Date(0) + "|" + Date(9) + "|9:00:00 AM|7"});
  EXPECT_EQ(Build(), (std::vector<std::string>{"/c.htm " + Date(0) + " 9:00:00 AM"}));
  ASSERT_EQ(list.Problems().size(), 5u);
  EXPECT_NE(list.Problems()[1].find("half past nine"), std::string::npos) << list.Problems()[1];
  // Nothing of them is dropped from the file.
  EXPECT_NE(dir.Read("data/schedule.sch").find("../escape|"), std::string::npos);
  EXPECT_NE(dir.Read("data/schedule.sch").find("dom.example|/a.htm="), std::string::npos);
}

TEST(DosDateTime, PacksTheMomentAndClampsWhatItCannotHold) {
  EXPECT_EQ(DosDateTime(QDateTime(QDate(2026, 3, 10), QTime(12, 34, 56))), 1550476380u);
  EXPECT_EQ(DosDateTime(QDateTime(QDate(1980, 1, 1), QTime(0, 0, 1))), 2162688u);
  EXPECT_EQ(DosDateTime(QDateTime(QDate(1975, 6, 1), QTime(8, 0))), 2162688u);
  EXPECT_EQ(DosDateTime(QDateTime(QDate(2107, 12, 31), QTime(23, 59, 59))), 0xFF9FBF7Du);
  EXPECT_EQ(DosDateTime(QDateTime(QDate(2200, 1, 1), QTime(0, 0))), 0xFF9FBF7Du);
}

TEST_F(ScheduledListTest, RowsAreSortedByMomentAndEqualMomentsKeepTheFileOrder) {
  for (const char* p : {"/b.htm", "/a.htm", "/old.htm", "/early.htm"}) Project(p, "");
  // Submitted in 2009: its next date lies before 2010, a nine-digit sortdate.
  Project("/old.htm", regional::FormatDate(QDate(2009, 1, 1)));
  Schedule({"dom.example|/b.htm=" + Date(1) + "|" + Date(9) + "|9:00:00 AM|7",
            "dom.example|/a.htm=" + Date(1) + "|" + Date(9) + "|9:00:00 AM|7",
            "dom.example|/old.htm=" + Date(1) + "|" + Date(9) + "|9:00:00 AM|5",
            "dom.example|/early.htm=" + Date(1) + "|" + Date(9) + "|8:59:00 AM|7"});
  EXPECT_EQ(Build(), (std::vector<std::string>{
                         "/old.htm " + regional::FormatDate(QDate(2009, 1, 6)) + " 9:00:00 AM",
                         "/early.htm " + Date(1) + " 8:59:00 AM", "/b.htm " + Date(1) + " 9:00:00 AM",
                         "/a.htm " + Date(1) + " 9:00:00 AM"}));
  EXPECT_EQ(list.Rows()[0].sortdate,
            std::to_string(DosDateTime(QDateTime(QDate(2009, 1, 6), QTime(9, 0)))));
  EXPECT_EQ(list.Rows()[0].sortdate.size(), 9u);
  list.RemoveFirst();
  EXPECT_EQ(list.Count(), 3);
}

TEST(ScheduleEntry, LinesSplitAtTheFirstBarAndTheFirstEquals) {
  const auto e = ScheduleEntry::FromLine("dom.example|/a|b.htm=12/1/2026|12/31/2026|9:00:00 AM|7");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->domain, "dom.example");
  EXPECT_EQ(e->project, "/a|b.htm");
  EXPECT_EQ(e->Value(), "12/1/2026|12/31/2026|9:00:00 AM|7");
  EXPECT_FALSE(ScheduleEntry::FromLine("dom.example=1|2|3|4"));
  EXPECT_FALSE(ScheduleEntry::FromLine("dom.example|/a.htm=1|2|3"));
  EXPECT_FALSE(ScheduleEntry::FromLine("dom.example|/a.htm"));
}

}  // namespace
}  // namespace qs
