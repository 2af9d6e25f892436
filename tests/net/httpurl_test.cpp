#include "net/httpurl.h"

#include <gtest/gtest.h>

namespace qs {
namespace {

TEST(HttpUrl, SplitsIntoParts) {
  struct Case {
    std::string url, scheme, user, password, host, port, path;
  };
  const std::vector<Case> cases = {
      {"http://www.site.test", "http", "", "", "www.site.test", "", "/"},
      {"site.test/a/b?c=d", "http", "", "", "site.test", "", "/a/b?c=d"},
      {"http://site.test?q=1/2", "http", "", "", "site.test", "", "?q=1/2"},
      {"ftp+x.y-z://h:21/f", "ftp+x.y-z", "", "", "h", "21", "/f"},
      // An upper-case scheme is not one: the text is taken as host part.
      {"HTTP://h/p", "http", "", "", "HTTP", "", "//h/p"},
      {"http://a@b:c@h:8080/p", "http", "a@b", "c", "h", "8080", "/p"},
      {"http://user@h", "http", "user", "", "h", "", "/"},
      // "://" after a "/" is in the path, not a scheme.
      {"h/r?u=http://x", "http", "", "", "h", "", "/r?u=http://x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const THttpUrl u = SplitHttpUrl(c.url);
    EXPECT_EQ(u.scheme, c.scheme);
    EXPECT_EQ(u.user, c.user);
    EXPECT_EQ(u.password, c.password);
    EXPECT_EQ(u.host, c.host);
    EXPECT_EQ(u.port, c.port);
    EXPECT_EQ(u.path, c.path);
  }
}

TEST(HttpUrl, ResolvesLocations) {
  struct Case {
    std::string from, value, to;
  };
  const std::vector<Case> cases = {
      {"http://h:81/a/b.html", "/c", "http://h:81/c"},
      {"http://h:81/a/b.html", "c.html", "http://h:81/a/c.html"},
      {"http://h/a/b?x=/y/z", "c", "http://h/a/c"},
      {"http://h?x=1", "c", "http://h/c"},
      {"http://h/a/", "http://other/x#frag", "http://other/x"},
      {"http://h/a/", "http://other", "http://other/"},
      {"http://h/a/b", "https://secure/x", "https://secure/x"},
      {"https://h:8443/a/b", "http://plain/x", "http://plain/x"},
      {"https://h:8443/a/b", "/c", "https://h:8443/c"},
      {"https://h/a/b", "c", "https://h/a/c"},
      {"http://h/a/b", "ftp://files/x", "http://h/a/ftp://files/x"},
      {"http://h/a/b", "/p#f", "http://h/p"},
      {"http://h/a/b", "", "http://h/a/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from + " + " + c.value);
    EXPECT_EQ(ResolveLocation(SplitHttpUrl(c.from), c.value).Absolute(), c.to);
  }
}

TEST(HttpUrl, PortNumbers) {
  EXPECT_EQ(PortNumber("", 80), 80u);
  EXPECT_EQ(PortNumber("8080", 80), 8080u);
  EXPECT_EQ(PortNumber("65535", 80), 65535u);
  EXPECT_EQ(PortNumber("65536", 80), 0u);
  EXPECT_EQ(PortNumber("0", 80), 0u);
  EXPECT_EQ(PortNumber("8o", 80), 0u);
  EXPECT_EQ(PortNumber("-1", 80), 0u);
}

}  // namespace
}  // namespace qs
