// The ranking history file and what is read from it: the lines as written and read back,
// hand-broken lines, the changes between checks, the chart's data and the project a checked
// URL belongs to.
#include "ranking/rankhistory.h"

#include <gtest/gtest.h>

#include "platform/regional.h"
#include "ranking/rankhistorylist.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

QDateTime Day(int day, int hour = 10) { return QDateTime(QDate(2026, 3, day), QTime(hour, 15, 30)); }

TRankCheck Check(QDateTime when, std::string engine, std::string keyword,
                 std::vector<int> positions, int depth = 50) {
  TRankCheck c;
  c.when = std::move(when);
  c.engine = std::move(engine);
  c.keyword = std::move(keyword);
  c.depth = depth;
  c.positions = std::move(positions);
  if (!c.positions.empty()) c.resultUrl = "http://engine.test/s?q=" + c.keyword;
  return c;
}

TEST(RankHistoryFile, LinesReadBackAsWritten) {
  const TRankCheck cases[] = {
      Check(Day(1), "Alpha", "blue widgets", {3, 17}),
      Check(Day(2), "Engine, Inc", "say \"hi\"", {}),
      Check(Day(3), " padded ", "", {1}, 10),
      Check(Day(4), "Alpha", "a,b\"c", {42}, 200),
  };
  const TRankLineReader reader;
  for (const TRankCheck& c : cases) {
    const std::string line = RankCheckLine(c);
    SCOPED_TRACE(line);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    const auto back = reader.Read(line);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->when, c.when);
    EXPECT_EQ(back->engine, c.engine);
    EXPECT_EQ(back->keyword, c.keyword);
    EXPECT_EQ(back->depth, c.depth);
    EXPECT_EQ(back->positions, c.positions);
    EXPECT_EQ(back->resultUrl, c.resultUrl);
  }
  // The date and time are the regional texts of every stored date.
  EXPECT_EQ(RankCheckLine(cases[0]), "3/1/2026,10:15:30 AM,Alpha,blue widgets,50,3 17,"
                                     "http://engine.test/s?q=blue widgets");
  // A keyword given on the command line may hold a line break; the line stays one line.
  TRankCheck broken = Check(Day(5), "Alpha", "two\r\nlines", {});
  EXPECT_EQ(reader.Read(RankCheckLine(broken))->keyword, "two  lines");
}

TEST(RankHistoryFile, BrokenLinesAreSkippedAndCounted) {
  test::TempFolder dir;
  const std::string good1 = RankCheckLine(Check(Day(1), "Alpha", "k", {4}));
  const std::string good2 = RankCheckLine(Check(Day(2), "Beta", "k", {}));
  const char* broken[] = {
      "3/2/2026,10:00:00 AM,Alpha,k,50,4",                    // six fields
      "3/2/2026,10:00:00 AM,Alpha,k,50,4,url,extra",          // eight
      "2026-03-02,10:00:00 AM,Alpha,k,50,4,url",              // not the regional date
      "3/2/2026,25:99,Alpha,k,50,4,url",                      // no time
      "3/2/2026,10:00:00 AM,,k,50,4,url",                     // no engine
      "3/2/2026,10:00:00 AM,Alpha,k,fifty,4,url",             // depth no number
      "3/2/2026,10:00:00 AM,Alpha,k,50,4 x,url",              // a position no number
      "3/2/2026,10:00:00 AM,Alpha,k,50,0,url",                // position 0
      "3/2/2026,10:00:00 AM,Alpha,k,50,-3,url",               // negative
      "3/2/2026,10:00:00 AM,\"Alpha,k,50,4,url",              // unclosed quote
      "3/2/2026,10:00:00 AM,\"Alpha\"x,k,50,4,url",           // text after a quote
      "garbage",
  };
  std::string text = std::string(kRankHistoryHeadings) + "\r\n" + good1 + "\r\n";
  for (const char* b : broken) text += std::string(b) + "\n";
  text += "\r\n" + good2;  // an empty line is no line; the last has no line end
  dir.Write("h.rnk", text);
  const TRankHistoryFile file = ReadRankHistory(dir.Path("h.rnk"));
  EXPECT_EQ(file.skipped, std::size(broken));
  ASSERT_EQ(file.checks.size(), 2u);
  EXPECT_EQ(file.checks[0].Best(), 4);
  EXPECT_EQ(file.checks[1].engine, "Beta");

  // Appending to such a file keeps every line and starts the new one on a line of its own.
  AppendRankChecks(dir.Path("h.rnk"), {Check(Day(3), "Gamma", "k", {9})});
  const TRankHistoryFile after = ReadRankHistory(dir.Path("h.rnk"));
  EXPECT_EQ(after.skipped, std::size(broken));
  ASSERT_EQ(after.checks.size(), 3u);
  EXPECT_EQ(after.checks[2].engine, "Gamma");
  EXPECT_EQ(after.checks[1].engine, "Beta");
}

TEST(RankHistoryFile, ANewFileStartsWithItsHeadingAndAMissingOneIsEmpty) {
  test::TempFolder dir;
  EXPECT_TRUE(ReadRankHistory(dir.Path("none.rnk")).checks.empty());
  AppendRankChecks(dir.Path("new.rnk"), {Check(Day(1), "A", "k", {2})});
  AppendRankChecks(dir.Path("new.rnk"), {Check(Day(2), "A", "k", {1})});
  const std::string text = dir.Read("new.rnk");
  EXPECT_EQ(text.rfind(std::string(kRankHistoryHeadings) + "\r\n", 0), 0u);
  EXPECT_EQ(text.find(kRankHistoryHeadings, 1), std::string::npos);
  const TRankHistoryFile file = ReadRankHistory(dir.Path("new.rnk"));
  EXPECT_EQ(file.skipped, 0u);
  EXPECT_EQ(file.checks.size(), 2u);
}

class RankHistoryListTest : public testing::Test {
 protected:
  void Show(std::vector<TRankCheck> checks, const std::string& keyword) {
    history.Set({std::move(checks), 0});
    history.SelectKeyword(keyword);
  }
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> out;
    for (size_t r = 0; r < history.Rows().size(); ++r) out.push_back(history.Cell(r, column));
    return out;
  }
  TLanguageTable language;
  TRankHistory history{language};
};

TEST_F(RankHistoryListTest, ChangesSinceTheSameEngineAndKeywordsLastCheck) {
  // Written out of order (a clock set back): the changes follow the moments.
  Show({Check(Day(3), "Alpha", "k", {4}), Check(Day(1), "Alpha", "k", {7}),
        Check(Day(2), "Alpha", "k", {9}), Check(Day(2), "Alpha", "other", {1}),
        Check(Day(4), "Alpha", "k", {4}), Check(Day(5), "Alpha", "k", {}),
        Check(Day(6), "Alpha", "k", {}), Check(Day(7), "Alpha", "k", {12, 30}),
        Check(Day(2), "Beta", "k", {2}), Check(Day(3), "Beta", "k", {1})},
       "k");
  EXPECT_EQ(Column(TRankHistory::kEngine),
            (std::vector<std::string>{"Alpha", "Alpha", "Beta", "Alpha", "Beta", "Alpha", "Alpha",
                                      "Alpha", "Alpha"}));
  EXPECT_EQ(Column(TRankHistory::kBest),
            (std::vector<std::string>{"7", "9", "2", "4", "1", "4", "-", "-", "12"}));
  EXPECT_EQ(Column(TRankHistory::kChange),
            (std::vector<std::string>{"", "-2", "", "+5", "+1", "0", language.Lookup("434"), "",
                                      language.Lookup("433")}));
  std::vector<int> directions;
  for (size_t r = 0; r < history.Rows().size(); ++r) directions.push_back(history.Direction(r));
  EXPECT_EQ(directions, (std::vector<int>{0, -1, 0, 1, 1, 0, -1, 0, 1}));
  EXPECT_EQ(history.Cell(0, TRankHistory::kDate), "3/1/2026 10:15:30 AM");
  EXPECT_EQ(history.Keywords(), (std::vector<std::string>{"k", "other"}));

  const auto best = history.BestEver();
  ASSERT_TRUE(best.has_value());
  EXPECT_EQ(best->position, 1);
  EXPECT_EQ(best->engine, "Beta");
  EXPECT_EQ(best->when, Day(3));

  history.SelectAllKeywords();
  EXPECT_EQ(history.Rows().size(), 10u);
}

TEST_F(RankHistoryListTest, ChartHasAGapWhereNothingWasFoundAndTheAxisOfItsData) {
  Show({Check(Day(1), "beta", "k", {5}), Check(Day(2), "beta", "k", {}),
        Check(Day(3), "beta", "k", {8}), Check(Day(4), "beta", "k", {6}),
        Check(Day(1), "Alpha", "k", {3}), Check(Day(2), "Alpha", "k", {2}),
        Check(Day(3), "Gamma", "k", {}), Check(Day(9), "Alpha", "x", {90})},
       "k");
  const TRankChart chart = history.Chart();
  ASSERT_EQ(chart.lines.size(), 3u);
  EXPECT_EQ(chart.lines[0].engine, "Alpha");
  EXPECT_EQ(chart.lines[1].engine, "beta");
  EXPECT_EQ(chart.lines[2].engine, "Gamma");
  ASSERT_EQ(chart.lines[0].segments.size(), 1u);
  EXPECT_EQ(chart.lines[0].segments[0].size(), 2u);
  // beta: 5, gap, 8, 6; never a point at 0.
  ASSERT_EQ(chart.lines[1].segments.size(), 2u);
  EXPECT_EQ(chart.lines[1].segments[0].size(), 1u);
  EXPECT_EQ(chart.lines[1].segments[0][0].position, 5);
  ASSERT_EQ(chart.lines[1].segments[1].size(), 2u);
  EXPECT_EQ(chart.lines[1].segments[1][0].position, 8);
  EXPECT_EQ(chart.lines[1].segments[1][1].msecs, Day(4).toMSecsSinceEpoch());
  EXPECT_TRUE(chart.lines[2].segments.empty());
  // The axis: 1 to the worst position of this keyword (90 belongs to another keyword).
  EXPECT_EQ(chart.best, 1);
  EXPECT_EQ(chart.worst, 8);
  EXPECT_EQ(chart.first, Day(1).toMSecsSinceEpoch());
  EXPECT_EQ(chart.last, Day(4).toMSecsSinceEpoch());
  EXPECT_EQ(chart.points, 5u);
}

TEST(RankHistoryPath, TheProjectTheCheckedUrlBelongsTo) {
  test::TempFolder dir;
  dir.Write("data/domains/projects/site.test/Index.zro", "[Index]\r\nurl=http://www.site.test/\r\n");
  dir.Write("data/domains/projects/site.test/_shop_a.htm.zro", "[_shop_a.htm]\r\n");
  const std::string folder = dir.Path("data/domains/projects/site.test/");
  struct {
    std::string url, path;
  } cases[] = {
      {"http://www.site.test/", folder + "Index.rnk"},
      {"http://site.test", folder + "Index.rnk"},
      {"http://www.site.test/shop/a.htm?x=1", folder + "_shop_a.htm.rnk"},
      {"http://www.site.test/other.htm", ""},  // no such project
      {"http://", ""},
      {"http://../x", ""},
      {"http://other.test/", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RankHistoryPathFor(dir.AppFolder(), c.url), c.path) << c.url;
}

}  // namespace
}  // namespace qs
