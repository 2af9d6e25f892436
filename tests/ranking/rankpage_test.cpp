// The text work on a result page: line rejoining, clean-up, marks and matches.
#include "ranking/rankpage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qs {
namespace {

TEST(RankPage, LinesAreRejoinedWithCrLf) {
  struct {
    std::string body, text;
  } cases[] = {
      {"", ""},
      {"a", "a\r\n"},
      {"a\nb", "a\r\nb\r\n"},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a\rb", "a\r\nb\r\n"},
      {"a\n\nb", "a\r\n\r\nb\r\n"},
      {"a\n\r\nb", "a\r\n\r\nb\r\n"},
      {std::string("a\0b", 3), std::string("a\0b\r\n", 5)},
  };
  for (const auto& c : cases) EXPECT_EQ(JoinPageLines(c.body), c.text) << c.body;
}

TEST(RankPage, CleanUpReplacesEachItemBeforeAComma) {
  struct {
    std::string remove, replace, page, cleaned;
  } cases[] = {
      {"<b>,</b>,", "", "x<b>y</b>z<B>", "xyz<B>"},        // case-sensitive
      {"<b>,</b>", "", "x<b>y</b>z", "xy</b>z"},           // after the last comma: unused
      {"</b>", "", "x</b>", "x</b>"},                      // no comma, no item
      {"", "", "abc", "abc"},
      {"a,,b,", "-", "abcab", "--c--"},                // an empty item names nothing
      {"ab,b,", "b", "aab", "ab"},                         // items in order, one pass each
      {" class=\"\",", "", "<a class=\"\" href=", "<a href="},
  };
  for (const auto& c : cases) {
    std::string page = c.page;
    CleanPage(page, c.remove, c.replace);
    EXPECT_EQ(page, c.cleaned) << c.remove;
  }
}

TEST(RankPage, CleanUpGrowsThePageByABoundedAmount) {
  const size_t size = kMaxCleanUpGrowth / 4;
  std::string page(size, 'a');
  CleanPage(page, "a,", "bbbbbb");  // would add 5 × size: skipped
  EXPECT_EQ(page, std::string(size, 'a'));
  CleanPage(page, "aaaa,", "bbbbbbbb");  // adds size: done
  EXPECT_EQ(page, std::string(2 * size, 'b'));
  // The bound is on the growth over the page as received, not per item.
  page.assign(size, 'a');
  CleanPage(page, "a,b,", "bbbb");
  EXPECT_EQ(page, std::string(4 * size, 'b'));  // "b" would add 3 × 4 × size more: skipped
  CleanPage(page, "bb,", "b");  // shrinking is always done
  EXPECT_EQ(page, std::string(2 * size, 'b'));
}

TEST(RankPage, FirstTenMarkersBecomeMarksInPageOrder) {
  const auto results = [](int count) {
    std::string page = "<html>";
    for (int i = 0; i < count; ++i) page += "<li>@url" + std::to_string(i + 1) + "</li>";
    return page;
  };
  struct {
    int occurrences;
    int marks;
  } cases[] = {{0, 0}, {4, 4}, {10, 10}, {12, 10}};
  for (const auto& c : cases) {
    const TMarkedPage marked = MarkResults(results(c.occurrences), "@");
    std::string expected = "<html>";
    for (int i = 0; i < c.occurrences; ++i)
      expected += "<li>" + (i < c.marks ? ResultMark(i + 1) : std::string("@")) + "url" +
                  std::to_string(i + 1) + "</li>";
    EXPECT_EQ(marked.text, expected) << c.occurrences;
    ASSERT_EQ(marked.marks.size(), static_cast<size_t>(c.marks));
    for (int n = 1; n <= c.marks; ++n)
      EXPECT_EQ(marked.text.substr(marked.marks[n - 1], ResultMark(n).size()), ResultMark(n));
  }
}

TEST(RankPage, MarkerInsideAMarkIsNotFoundAgain) {
  // "s" occurs in "<results1>"; the next mark must go to the page's next "s".
  const TMarkedPage marked = MarkResults("s1 s2", "s");
  EXPECT_EQ(marked.text, "<results1>1 <results2>2");
  EXPECT_EQ(MarkResults("abc", "").text, "abc");
  EXPECT_TRUE(MarkResults("abc", "").marks.empty());
}

TEST(RankPage, HitWhenAMarkIsFollowedByTheWholeUrl) {
  const std::string url = "http://www.site.test/";
  struct {
    std::string page;
    std::vector<int> hits;
  } cases[] = {
      {"@http://www.site.test/", {1}},
      {"@http://www.site.test/deeper/page.html", {1}},  // a deeper page of the site counts
      {"@HTTP://www.site.test/", {}},                   // letter case counts
      {"@http://site.test/", {}},                       // lacks the host prefix
      {"@http://www.site.tes", {}},                     // shorter than the URL
      {"@x @http://www.site.test/a @y @http://www.site.test/b", {2, 4}},
      {"<results1>http://www.site.test/ @x", {}},       // the page's own text is no mark
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchResults(MarkResults(c.page, "@"), url), c.hits) << c.page;
}

}  // namespace
}  // namespace qs
