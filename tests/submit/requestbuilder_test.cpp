// The request built for one engine record and one project: visit test, due rule, form data
// and the request itself.
#include "submit/requestbuilder.h"
#include "platform/filesystem.h"

#include <gtest/gtest.h>

#include "platform/regional.h"
#include "submitfixture.h"

namespace qs {
namespace {

TEST(SubmitUrlEncode, EveryByteButLettersAndDigitsIsEscaped) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"AZaz09", "AZaz09"},
      {"a b&c=d", "a%20b%26c%3Dd"},
      {"10/20-x.y", "10%2F20%2Dx%2Ey"},
      {"_~+%", "%5F%7E%2B%25"},
      {"\xC3\xA9", "%C3%A9"},  // é in UTF-8: each byte
      {std::string("\0\x7F", 2), "%00%7F"},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.in), c.out) << c.in;
}

TEST(SubmitVisitTest, TheTypeOccursWithinTheKindsLineInAnyCase) {
  const std::string all = "Submits to: Engines,FFA's,Networks,Custom Database,";
  const struct {
    std::string kinds, type;
    bool visited;
  } cases[] = {
      {all, "ENGINE", true},    {all, "ffa", true},      {all, "NETWORK", true},
      {all, "NETWORKS", true},  {all, "", false},        {"Submits to: FFA's,,", "ENGINE", false},
      {"Submits to: Engines,,", "NETWORKS", false},      {"Submits to: Engines,,", "engine", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsVisited(c.kinds, c.type), c.visited) << c.kinds << " / " << c.type;
}

TEST(SubmitDueRule, CalendarMonthsAndYearsClampToTheLastDay) {
  EXPECT_EQ(NextDueDate(QDate(2025, 1, 31), "Monthly"), QDate(2025, 2, 28));
  EXPECT_EQ(NextDueDate(QDate(2024, 2, 29), "Yearly"), QDate(2025, 2, 28));
  EXPECT_EQ(NextDueDate(QDate(2024, 12, 31), "Weekly"), QDate(2025, 1, 7));
  EXPECT_EQ(NextDueDate(QDate(2024, 12, 31), "Daily"), QDate(2025, 1, 1));
  EXPECT_EQ(NextDueDate(QDate(2024, 12, 31), "weekly"), QDate(2025, 1, 1));  // exact names only
}

class SubmitBuilder : public test::SubmitFixture {};

TEST_F(SubmitBuilder, RequestsByTheirRecordAndProject) {
  const QDate today(2025, 2, 28);
  auto date = [&](int daysBack) { return regional::FormatDate(today.addDays(-daysBack)); };
  dir.Write("data/category.zro", "[SubCat1]\r\nComputers=Computing & Internet\r\n");
  const test::TValues form{{"e_name", "E"}, {"enginetype", "ENGINE"}, {"e_url", "http://e.example/"},
                           {"cgi_url", "http://e.example/add"}, {"method", "GET"}};
  auto with = [&](test::TValues extra) {
    test::TValues v = form;
    for (auto& [k, val] : extra) v[k] = val;
    return v;
  };
  const struct Case {
    const char* what;
    test::TValues engine;
    test::TValues project;
    std::string listed = "Index";
    TEngineTable table = TEngineTable::Main;
    bool due = true;
    bool post = false;
    std::string url, body;
  } cases[] = {
      {"pairs in field-map order, one for an empty value",
       with({{"url", "u"}, {"descr", "d"}, {"title", "t"}, {"email", "m"}, {"key1", "k"}}),
       {{"url", "http://a.b/c d"}, {"title", "T&T"}, {"alt_email", "x@y"}, {"email", "main@y"}},
       "Index", TEngineTable::Main, true, false,
       "http://e.example/add?u=http%3A%2F%2Fa%2Eb%2Fc%20d&t=T%26T&d=&m=x%40y&k="},
      {"POST only for exactly POST", with({{"method", "POST"}, {"url", "u"}}), {{"url", "v"}},
       "Index", TEngineTable::Main, true, true, "http://e.example/add", "u=v"},
      {"lower-case post is a GET", with({{"method", "post"}, {"url", "u"}}), {{"url", "v"}},
       "Index", TEngineTable::Main, true, false, "http://e.example/add?u=v"},
      {"empty form data still gets its ?", with({{"cgi_url", "http://e.example/add?x=1"}}), {},
       "Index", TEngineTable::Main, true, false, "http://e.example/add?x=1?"},
      {"hidden appended unchanged, first & dropped", with({{"hidden", "&a=1&b=%20"}}), {},
       "Index", TEngineTable::Main, true, false, "http://e.example/add?a=1&b=%20"},
      // A blank or a byte over 127 cannot stand in the request line: only those are escaped.
      {"hidden in an address escapes what a request line cannot hold",
       with({{"hidden", "&n=caf\xc3\xa9 x+y&p=%41"}}), {}, "Index", TEngineTable::Main, true, false,
       "http://e.example/add?n=caf%C3%A9%20x+y&p=%41"},
      {"hidden in a POST body goes as written", with({{"hidden", "&n=caf\xc3\xa9 x"}, {"method", "POST"}}), {},
       "Index", TEngineTable::Main, true, true, "http://e.example/add", "n=caf\xc3\xa9 x"},
      {"category translated, after descr", with({{"descr", "d"}, {"fname", "f"}, {"cat", "c"}, {"cat_type", "Cat1"}}),
       {{"catagory", "Computers"}, {"description", "D"}, {"name", "N"}},
       "Index", TEngineTable::Main, true, false,
       "http://e.example/add?d=D&c=Computing%20%26%20Internet&f=N"},
      {"unknown category is Business; an empty cat column still gives a pair",
       with({{"cat_type", "Cat1"}}), {{"catagory", "Nowhere"}},
       "Index", TEngineTable::Main, true, false, "http://e.example/add?=Business"},
      {"no category pair without a project category", with({{"cat", "c"}, {"cat_type", "Cat1"}}), {},
       "Index", TEngineTable::Main, true, false, "http://e.example/add?"},
      {"RQZWEB of the main table", with({{"e_name", "RQZWEB"}, {"url", "u"}}), {{"url", "v"}},
       "Index", TEngineTable::Main, true, false, "http://e.example/add?u=v&software=rqzwebFFF"},
      {"RQZWEB of the custom table", with({{"e_name", "RQZWEB"}, {"url", "u"}}), {{"url", "v"}},
       "Index", TEngineTable::Custom, true, false, "http://e.example/add?u=v"},
      {"rqzweb is not RQZWEB", with({{"e_name", "rqzweb"}}), {},
       "Index", TEngineTable::Main, true, false, "http://e.example/add?"},
      {"weekly six days ago", with({{"e_freq", "Weekly"}}), {{"lastw", date(6)}}, "Index",
       TEngineTable::Main, false},
      {"weekly seven days ago", with({{"e_freq", "Weekly"}}), {{"lastw", date(7)}}, "Index",
       TEngineTable::Main, true, false, "http://e.example/add?"},
      {"monthly from 31 January is due on 28 February", with({{"e_freq", "Monthly"}}),
       {{"lastm", regional::FormatDate(QDate(2025, 1, 31))}}, "Index", TEngineTable::Main, true,
       false, "http://e.example/add?"},
      {"daily submitted today", with({{"e_freq", "Daily"}}), {{"lastsub", date(0)}}, "Index",
       TEngineTable::Main, false},
      {"yearly without any date key", with({{"e_freq", "Yearly"}}), {}, "Index",
       TEngineTable::Main, true, false, "http://e.example/add?"},
      {"other frequency ignores the stored dates", with({{"e_freq", "Hourly"}}),
       {{"lastsub", date(0)}}, "Index", TEngineTable::Main, true, false, "http://e.example/add?"},
      {"a stored date that does not parse counts as none", with({{"e_freq", "Weekly"}}),
       {{"lastw", "yesterday"}}, "Index", TEngineTable::Main, true, false, "http://e.example/add?"},
      {"Index Only skips other pages", with({{"e_index", "Index Only"}}), {}, "/about.htm",
       TEngineTable::Main, false},
      {"Index Only for the home page", with({{"e_index", "Index Only"}}), {}, "Index",
       TEngineTable::Main, true, false, "http://e.example/add?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string key = c.listed == "Index" ? "Index" : "_about.htm";
    WriteProject("dom.example", key, c.project);
    WriteTables({c.engine});
    catalogue.Open(state.folder);
    TRequestBuilder builder(state.folder);
    const TBuiltRequest r =
        builder.Build("dom.example", c.listed, catalogue.EnginesTable, c.table, today);
    catalogue.Close();
    EXPECT_EQ(r.due, c.due);
    EXPECT_EQ(r.referrer, "http://e.example/");
    if (!c.due) continue;
    EXPECT_EQ(r.post, c.post);
    EXPECT_EQ(r.url, c.url);
    EXPECT_EQ(r.body, c.body);
  }
}

TEST_F(SubmitBuilder, OneBuilderForAWholeTableReadsEachFileOnceUntilItChanges) {
  const QDate today(2025, 2, 28);
  dir.Write("data/category.zro", "[SubCat1]\r\nComputers=Computing\r\n");
  auto project = [&](int weeklyDaysBack) {
    CreateFolders(dir.Path("data/domains/projects/dom.example"));
    WriteFileAtomically(dir.Path("data/domains/projects/dom.example/Index.zro"),
                        test::ProjectFileText("Index", {{"catagory", "Computers"},
                                                        {"lastw", regional::FormatDate(today.addDays(-weeklyDaysBack))}}));
  };
  project(3);
  std::vector<test::TValues> records;
  for (int i = 0; i < 6; ++i)
    records.push_back({{"e_name", "E" + std::to_string(i)}, {"enginetype", "ENGINE"}, {"cgi_url", "http://e/"},
                       {"e_freq", i % 2 ? "Weekly" : ""}, {"cat", "c"}, {"cat_type", "Cat1"}});
  WriteTables(records);
  catalogue.Open(state.folder);
  TRequestBuilder builder(state.folder);
  auto walk = [&] {
    std::vector<std::string> urls;
    for (catalogue.EnginesTable.First(); !catalogue.EnginesTable.Eof(); catalogue.EnginesTable.Next()) {
      const TBuiltRequest r = builder.Build("dom.example", "Index", catalogue.EnginesTable, TEngineTable::Main, today);
      urls.push_back(r.due ? r.url : "not due");
    }
    return urls;
  };
  const std::vector<std::string> first = {"http://e/?c=Computing", "not due", "http://e/?c=Computing",
                                          "not due", "http://e/?c=Computing", "not due"};
  EXPECT_EQ(walk(), first);
  EXPECT_EQ(walk(), first);
  EXPECT_EQ(builder.ProjectReads(), 1);
  EXPECT_EQ(builder.CategoryReads(), 1);
  // The weekly engines are due once the project's date is a week back; a new category text too.
  project(7);
  dir.Write("data/category.zro", "[SubCat1]\r\nComputers=Computers and the Internet\r\n");
  EXPECT_EQ(walk(), std::vector<std::string>(6, "http://e/?c=Computers%20and%20the%20Internet"));
  EXPECT_EQ(builder.ProjectReads(), 2);
  EXPECT_EQ(builder.CategoryReads(), 2);
  catalogue.Close();
}

TEST_F(SubmitBuilder, AMissingProjectFileGivesEmptyValuesAndIsDue) {
  WriteTables({{{"e_name", "E"}, {"enginetype", "ENGINE"}, {"e_freq", "Daily"}, {"cgi_url", "http://e/"},
                {"url", "u"}, {"title", "t"}}});
  catalogue.Open(state.folder);
  const TBuiltRequest r = TRequestBuilder(state.folder)
                              .Build("none.example", "Index", catalogue.EnginesTable,
                                     TEngineTable::Main, QDate(2025, 3, 1));
  EXPECT_TRUE(r.due);
  EXPECT_EQ(r.url, "http://e/?u=&t=");
  EXPECT_FALSE(dir.Exists("data/domains/projects/none.example/Index.zro"));
}

}  // namespace
}  // namespace qs
