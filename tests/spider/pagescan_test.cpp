// What the site import reads from a page: title, description and keywords, the level of an
// address, and the links.
#include "spider/pagescan.h"

#include <gtest/gtest.h>

#include "spider/linkextract.h"

namespace qs {
namespace {

TEST(PageScanTest, TitleIsTheTextBetweenTheFirstTagsInAnyLetterCase) {
  struct Case {
    const char* page;
    std::optional<std::string> title;
  } cases[] = {
      {"<html><TITLE>Big Shop</Title></html>", "Big Shop"},
      {"<title> spaced  </title>", " spaced  "},
      {"<title>one</title><title>two</title>", "one"},
      {"</title>late<title>", ""},  // the end tag comes first
      {"<title>no end", std::nullopt},
      {"<title lang=en>attribute</title>", std::nullopt},  // only the bare start tag counts
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PageTitle(c.page), c.title) << c.page;
}

TEST(PageScanTest, MetaTagsGiveDescriptionAndKeywordsTheLaterReplacingTheEarlier) {
  struct Case {
    const char* page;
    std::optional<std::string> description, keywords;
  } cases[] = {
      {"<META NAME=\"Description\" CONTENT=\"Shop For Widgets\">"
       "<meta name=\"KEYWORDS\" content=\"a, b\">",
       "Shop For Widgets", "a, b"},
      {"<meta content=\"first\" name=\"description\">", "first", std::nullopt},
      {"<meta name=\"description\" content=\"one\"><meta name=\"description\" content=\"two\">",
       "two", std::nullopt},
      // A later tag without content=" leaves the earlier value.
      {"<meta name=\"description\" content=\"kept\"><meta name=\"description\" value=\"x\">",
       "kept", std::nullopt},
      {"<meta name=\"keywords\">", std::nullopt, std::nullopt},
      {"<meta name=description content=\"unquoted name\">", std::nullopt, std::nullopt},
      {"<meta name=\"description\" content=\"\">", "", std::nullopt},
      // The tag ends at its first ">": the content runs to there.
      {"<meta name=\"description\" content=\"a > b\">", "a ", std::nullopt},
      // A tag that never ends stops the scan.
      {"<meta name=\"keywords\" content=\"k\"><meta name=\"description\" content=\"d\"",
       std::nullopt, "k"},
      {"<metadata name=\"description\" content=\"also a meta tag\">", "also a meta tag",
       std::nullopt},
  };
  for (const auto& c : cases) {
    const TPageMeta meta = PageMetaTags(c.page);
    EXPECT_EQ(meta.description, c.description) << c.page;
    EXPECT_EQ(meta.keywords, c.keywords) << c.page;
  }
}

TEST(PageScanTest, LevelCountsTheSlashesAfterTheScheme) {
  struct Case {
    const char* url;
    int level;
  } cases[] = {
      {"http://h.test/", 1},          {"http://h.test/a.html", 1},
      {"http://h.test/d/a.html", 2},  {"http://h.test/d/e/a.html", 3},
      {"http://h.test", 1},           {"http://h.test/a/b/c/", 4},
      {"http:/", 1},                  {"", 1},
      {"https://h.test/d/a.html", 2}, {"https://h.test", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlLevel(c.url), c.level) << c.url;
}

TEST(PageScanTest, LinksAreTheDoubleQuotedHrefsOfEveryTagBeginningWithA) {
  const std::string page =
      "<a href=\"one.html\">1</a>"
      "<A HREF=\"Two.HTML\">2</A>"
      "<a class=x\nhref=\"three.htm\" id=y>3</a>"
      "<a href='single.html'>no</a>"
      "<a href=unquoted.html>no</a>"
      "<area shape=rect href=\"area.html\">"
      "<abbr title=\"x\">no href</abbr>"
      "<a name=\"anchor\">no href</a>"
      "<link href=\"style.css\">"
      "<a href=\"one.html\">again</a>"
      "<a href=\"\">empty</a>"
      "<a href=\"open.html>unclosed quote</a>"
      "<a href=\"last.html\"";  // no ">" to end it
  EXPECT_EQ(ExtractLinks(page),
            (std::vector<std::string>{"one.html", "Two.HTML", "three.htm", "area.html",
                                      "one.html", "", "open.html"}));
  EXPECT_TRUE(ExtractLinks("").empty());
  EXPECT_TRUE(ExtractLinks("<a").empty());
}

}  // namespace
}  // namespace qs
