// The history line and the last-submission dates an ended entry leaves.
#include "submit/submithistory.h"

#include <gtest/gtest.h>

#include "platform/regional.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

class SubmitHistory : public ::testing::Test {
 protected:
  std::string Hst() const { return dir.Read("data/domains/projects/dom.example/Index.hst"); }
  test::TempFolder dir;
  TAppFolder folder = dir.AppFolder();
  TLanguageTable language;
  TSubmitHistory history{folder, language};
  QDate today{2024, 8, 12};
};

TEST_F(SubmitHistory, TheFileStartsFromTheDefaultAndGrowsByOneLine) {
  const struct {
    const char* what;
    std::string existing;  // "-" for none
    std::string defaultHst;
    bool scheduled;
    std::string report;
    std::string expected;
  } cases[] = {
      {"from default.hst", "-", "Heads,\r\n", false, "", "Heads,\r\n8/12/2024,No,Completed,No,\r\n"},
      {"neither file: the headings", "-", "-", true, "/x,y/r.htm",
       "Submit Date,Scheduled,Status,Generated Report,\r\n"
       "8/12/2024,Yes,Completed,<a href=\"/x,y/r.htm\">View Report</a>,\r\n"},
      {"existing file, last line unended", "H,\r\nold,", "Heads,\r\n", false, "",
       "H,\r\nold,\r\n8/12/2024,No,Completed,No,\r\n"},
      // A report inside the application folder is named relative to it, so the link survives
      // a move or copy of the folder.
      {"a report of the folder", "-", "H,\r\n", false, "@/data/domains/projects/dom.example/Index8122024.htm",
       "H,\r\n8/12/2024,No,Completed,<a href=\"data/domains/projects/dom.example/Index8122024.htm\">"
       "View Report</a>,\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dir.Write("data/domains/projects/dom.example/x", "");
    std::remove(dir.Path("data/domains/projects/dom.example/Index.hst").c_str());
    std::remove(dir.Path("data/default.hst").c_str());
    if (c.existing != "-") dir.Write("data/domains/projects/dom.example/Index.hst", c.existing);
    if (c.defaultHst != "-") dir.Write("data/default.hst", c.defaultHst);
    std::string report = c.report;
    if (report.rfind("@/", 0) == 0) report = dir.Root() + report.substr(1);
    EXPECT_EQ(history.AppendHistoryLine("dom.example", "Index", c.scheduled, report, today),
              dir.Path("data/domains/projects/dom.example/Index.hst"));
    EXPECT_EQ(Hst(), c.expected);
  }
}

TEST_F(SubmitHistory, DatesMoveWhereTheirClassWasDue) {
  auto back = [&](int days) { return regional::FormatDate(today.addDays(-days)); };
  const std::string t = regional::FormatDate(today);
  const struct {
    const char* what;
    std::string lastw, lastm, lasty;  // "" for absent
    std::string w, m, y;              // after the run
  } cases[] = {
      {"no keys: all today", "", "", "", t, t, t},
      {"three days old week stays", back(3), back(3), back(3), back(3), back(3), back(3)},
      {"eight days old week moves", back(8), back(40), back(400), t, t, t},
      {"a month to the day", back(7), regional::FormatDate(today.addMonths(-1)),
       regional::FormatDate(today.addYears(-1)), t, t, t},
      {"not a date", "soon", "later", "never", t, t, t},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string file = "[Index]\r\nlastsub=" + back(1) + "\r\n";
    if (!c.lastw.empty()) file += "lastw=" + c.lastw + "\r\n";
    if (!c.lastm.empty()) file += "lastm=" + c.lastm + "\r\n";
    if (!c.lasty.empty()) file += "lasty=" + c.lasty + "\r\n";
    dir.Write("data/domains/projects/dom.example/Index.zro", file);
    history.MoveDates("dom.example", "Index", today);
    EXPECT_EQ(dir.Read("data/domains/projects/dom.example/Index.zro"),
              "[Index]\r\nlastsub=" + t + "\r\nlastw=" + c.w + "\r\nlastm=" + c.m + "\r\nlasty=" + c.y + "\r\n\r\n");
  }
}

}  // namespace
}  // namespace qs
