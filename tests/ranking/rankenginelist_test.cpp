// The ranking engine list: sorted ignoring case, check marks, filled again from the file.
#include "ranking/rankenginelist.h"

#include <gtest/gtest.h>

#include "app/summit.h"
#include "ranking/rankengine.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

std::vector<std::string> Names(const TRankEngineList& list) {
  std::vector<std::string> names;
  for (size_t i = 0; i < list.Count(); ++i) names.push_back(list.Name(i));
  return names;
}

TEST(RankEngineList, SortedIgnoringCaseAllUnchecked) {
  TRankEngineList list;
  list.Fill({"mojeek", "Bing", "alta", "Zeta", "   "});
  EXPECT_EQ(Names(list), (std::vector<std::string>{"alta", "Bing", "mojeek", "Zeta"}));
  EXPECT_FALSE(list.AnyChecked());
  EXPECT_EQ(list.IndexOf("BING"), 1);
  EXPECT_EQ(list.IndexOf("none"), -1);
}

TEST(RankEngineList, CheckMarksSelectAllDeselectAllAndRefill) {
  TRankEngineList list;
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.Fill({"c", "a", "b"});
  list.SetChecked(2, true);
  EXPECT_EQ(list.NextChecked(0), 2);
  EXPECT_EQ(list.NextChecked(3), -1);
  list.SelectAll();
  for (size_t i = 0; i < list.Count(); ++i) EXPECT_TRUE(list.Checked(i));
  list.DeselectAll();
  EXPECT_FALSE(list.AnyChecked());
  list.SetChecked(0, true);
  list.Fill({"c", "a", "b"});
  EXPECT_FALSE(list.AnyChecked());  // a refill clears the marks
  EXPECT_EQ(changes, 6);
}

TEST(RankEngineList, FilledFromTheListSectionAtStartUpAndOnLoad) {
  test::TempFolder dir;
  dir.Write("data/ranking.czc",
            "[List]\r\nZed\r\nalpha\r\n\r\n[alpha]\r\nurl=http://a/\r\nsearch=<a href=\"\r\n");
  TSummit summit(dir.AppFolder());
  TScriptedAnswerer answerer;
  summit.Start(answerer);
  EXPECT_EQ(summit.state.rankingEngines, (std::vector<std::string>{"Zed", "alpha"}));
  EXPECT_EQ(Names(summit.rankEngineList), (std::vector<std::string>{"alpha", "Zed"}));

  dir.Write("data/ranking.czc", "[list]\nnew\n");
  summit.rankEngineList.SelectAll();
  summit.rankEngineList.Load(dir.AppFolder());
  EXPECT_EQ(Names(summit.rankEngineList), (std::vector<std::string>{"new"}));
  EXPECT_FALSE(summit.rankEngineList.AnyChecked());
}

TEST(RankEngineList, EngineRecordWithDefaults) {
  test::TempFolder dir;
  dir.Write("data/ranking.czc",
            "[List]\nA\nB\n[a]\nurl=http://a/?q=$keyword\npage=$curpage\nremove=<b>,\n"
            "replace=-\nsearch=<a href=\"\n");
  const TRankEngine a = ReadRankEngine(dir.AppFolder(), "A");
  EXPECT_EQ(a.url, "http://a/?q=$keyword");
  EXPECT_EQ(a.page, "$curpage");
  EXPECT_EQ(a.remove, "<b>,");
  EXPECT_EQ(a.replace, "-");
  EXPECT_EQ(a.search, "<a href=\"");
  const TRankEngine b = ReadRankEngine(dir.AppFolder(), "B");  // no section
  EXPECT_EQ(b.url, "");
  EXPECT_EQ(b.page, "");
  EXPECT_EQ(b.search, "searcherror");
}

}  // namespace
}  // namespace qs
