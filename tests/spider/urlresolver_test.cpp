// Resolving a page's links against its address, and the extension filter.
#include "spider/urlresolver.h"

#include <gtest/gtest.h>

#include "app/errors.h"
#include "spider/linkrules.h"

namespace qs {
namespace {

TEST(UrlResolverTest, LinksOfAPageTwoFoldersDeep) {
  const std::string base = "http://h.test:8080/a/b/page.html";
  struct Case {
    const char* link;
    const char* result;
  } cases[] = {
      {"x.html", "http://h.test:8080/a/b/x.html"},
      {"", "http://h.test:8080/"},
      {"../x.html", "http://h.test:8080/x.html"},  // to the site's root folder
      {"./x.html", "http://h.test:8080/a/b/x.html"},
      {"/c/x.htm", "http://h.test:8080/c/x.htm"},
      {"c/x.php", "http://h.test:8080/a/b/c/x.php"},
      {"sub/", "http://h.test:8080/a/b/sub/"},
      {"sub", "http://h.test:8080/a/b/sub/"},
      {"index.html", "http://h.test:8080/a/b/"},
      {"sub/default.asp", "http://h.test:8080/a/b/sub/"},
      {"myindex.html", "http://h.test:8080/a/b/"},  // holds "index."
      {"Index.html", "http://h.test:8080/a/b/Index.html"},
      {"x.html?q=1", "http://h.test:8080/a/b/x.html?q=1"},
      {"x.html#top", "http://h.test:8080/a/b/x.html#top"},
      {"dir.v2/x", "http://h.test:8080/a/b/dir.v2/x"},
      // Absolute links: the same host unchanged, any other host dropped.
      {"http://h.test:8080/z/../q.html", "http://h.test:8080/z/../q.html"},
      {"http://h.test:8080", "http://h.test:8080"},
      {"http://other.test/z.html", ""},
      {"http://h.test/z.html", ""},  // another port
      {"http://h.test:8080.evil/z.html", ""},
      {"http://other.test/?h.test:8080", ""},
      {"https://h.test:8080/z.html", "https://h.test:8080/z.html"},  // keeps its scheme
      {"https://other.test/z.html", ""},
      {"HTTP://h.test:8080/z.html", ""},
      {"ftp://h.test:8080/z.html", ""},
      // Doubled slashes: "//" at the start names a host; elsewhere they collapse.
      {"//h.test:8080/z.html", "http://h.test:8080/z.html"},
      {"//other.test/z.html", ""},
      {"c//x.html", "http://h.test:8080/a/b/c/x.html"},
      {"..//x.html", "http://h.test:8080/x.html"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveLink(c.link, base), c.result) << c.link;
}

TEST(UrlResolverTest, TheFolderOfThePageAddress) {
  struct Case {
    const char* base;
    const char* link;
    const char* result;
  } cases[] = {
      {"http://h.test", "x.html", "http://h.test/x.html"},
      {"http://h.test/", "x.html", "http://h.test/x.html"},
      {"http://h.test/dir", "x.html", "http://h.test/dir/x.html"},  // no "." : a folder
      {"http://h.test/dir/", "../x.html", "http://h.test/x.html"},
      {"HTTP://h.test/a/p.html", "x.html", "http://h.test/a/x.html"},
      {"http://h.test/a.b/c/", "x.html", "http://h.test/a.b/c/x.html"},
      {"https://h.test/a/p.html", "x.html", "https://h.test/a/x.html"},
      {"https://h.test/a/p.html", "//h.test/y.html", "https://h.test/y.html"},
      {"https://h.test/a/p.html", "http://h.test/z.html", "http://h.test/z.html"},
      {"HTTPS://h.test/a/", "../x.html", "https://h.test/x.html"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveLink(c.link, c.base), c.result) << c.base;
}

TEST(LinkRulesTest, AnAcceptedExtensionEndsTheAddressAndOccursThereFirst) {
  struct Case {
    const char* url;
    const char* filter;
    bool accepted;
  } cases[] = {
      {"http://h/a.html", "All", true},      {"http://h/a.htm", "All", true},
      {"http://h/a.php", "All", true},       {"http://h/a.asp", "All", true},
      {"http://h/a.cfm", "All", true},       {"http://h/a.shtml", "All", true},
      {"http://h/a.shtm", "All", true},      {"http://h/a.HTML", "All", false},
      {"http://h/a.html?x=1", "All", false}, {"http://h/a.html.bak", "All", false},
      {"http://h/x.html/b.html", "All", false}, {"http://h/", "All", false},
      {"http://h/a.txt", "All", false},      {"http://h/a.php", ".php", true},
      {"http://h/a.html", ".php", false},    {"http://h/a.html", ".htm", false},
      {"http://h/a.htm", ".htm", true},      {"http://h/a.html", "", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HasAcceptedExtension(c.url, c.filter), c.accepted) << c.url << " " << c.filter;
}

TEST(LinkRulesTest, LevelsAndMaximumMustBeWholeNumbers) {
  TSpiderOptions o;
  o.levelsDeep = "3";
  o.maxPages = "250";
  EXPECT_EQ(SpiderLimits(o).levelsDeep, 3);
  EXPECT_EQ(SpiderLimits(o).maxPages, 250);
  for (const char* bad : {"", "x", "12a", "99999999999"}) {
    o.levelsDeep = bad;
    try {
      SpiderLimits(o);
      ADD_FAILURE() << bad;
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
  o.levelsDeep = "2";
  o.maxPages = "";
  EXPECT_THROW(SpiderLimits(o), ConversionError);
}

}  // namespace
}  // namespace qs
