// Domain names, listed names and ProjectKeys from URLs, and the names refused as file names.
#include "projects/naming.h"

#include <gtest/gtest.h>

#include "app/errors.h"

namespace qs {
namespace {

TEST(Naming, UrlsGiveDomainListedNameAndKey) {
  struct Case {
    const char* url;
    const char* domain;
    const char* listed;
    const char* key;
  } cases[] = {
      {"http://www.example.com/", "example.com", "Index", "Index"},
      {"http://www.example.com", "example.com", "Index", "Index"},
      {"example.com/dir/page.html?id=3", "example.com", "/dir/page.html", "_dir_page.html"},
      {"http://example.com/?id=3", "example.com", "/", "_"},  // Index test before the cut
      {"http://user:pw@www.site.org:8080/a/b_c.htm", "site.org", "/a/b_c.htm", "_a_b_c.htm"},
      {"https://WWW.Example.com/x", "Example.com", "/x", "_x"},
      {"http://wwwx.com/y", "wwwx.com", "/y", "_y"},
      {"http://host.net?q=1", "host.net", "", ""},  // nothing before the "?": no name
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DomainNameOf(c.url), c.domain) << c.url;
    EXPECT_EQ(ListedNameOf(c.url), c.listed) << c.url;
    EXPECT_EQ(ProjectKeyOf(ListedNameOf(c.url)), c.key) << c.url;
  }
}

TEST(Naming, UrlsThatDifferOnlyAfterTheQueryShareAListedName) {
  EXPECT_EQ(ListedNameOf("http://a.com/p.php?x=1"), ListedNameOf("http://a.com/p.php?x=2"));
}

TEST(Naming, KeysLeadBackToTheirFiles) {
  // A listed name with "_" does not come back from its key, but its key always does.
  for (const char* listed : {"/dir/page.html", "/my_page.htm", "Index", "/a__b/"}) {
    const std::string key = ProjectKeyOf(listed);
    EXPECT_EQ(ProjectKeyOf(ListedNameOfKey(key)), key) << listed;
  }
  EXPECT_EQ(ListedNameOfKey("_dir_page.html"), "/dir/page.html");
  EXPECT_EQ(ListedNameOfKey("_my_page.htm"), "/my/page.htm");
}

TEST(Naming, NamesThatWouldLeaveTheFolderAreRefused) {
  const std::string refused[] = {
      "", ".", "..", "a/b", "..\\..\\etc", std::string("a\0b", 3), "tab\there", "line\nbreak",
      "[section]", std::string(241, 'n'),
  };
  for (const auto& name : refused) {
    EXPECT_FALSE(NameProblem(name).empty()) << name;
    EXPECT_THROW(CheckDomainName(name), NameError) << name;
    EXPECT_THROW(CheckProjectKey(name), NameError) << name;
  }
  for (const char* name : {"example.com", "_dir_page.html", "Index", "..x", "[a", "caf\xC3\xA9"})
    EXPECT_EQ(NameProblem(name), "") << name;
  EXPECT_EQ(NameProblem(std::string(240, 'n')), "");
}

}  // namespace
}  // namespace qs
