// THttpCli against real peers: nginx as the site, tinyproxy with basic authentication as
// the proxy in front of it.
#include <gtest/gtest.h>

#include <QBuffer>
#include <algorithm>

#include "net/httpcli.h"
#include "support/httprecorder.h"
#include "support/peers.h"

namespace qs {
namespace {

class HttpPeers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    nginx_ = new test::NginxPeer;
    proxy_ = new test::TinyproxyPeer("quser", "qpass");
  }
  static void TearDownTestSuite() {
    delete proxy_;
    delete nginx_;
  }
  static test::NginxPeer* nginx_;
  static test::TinyproxyPeer* proxy_;
};
test::NginxPeer* HttpPeers::nginx_ = nullptr;
test::TinyproxyPeer* HttpPeers::proxy_ = nullptr;

TEST_F(HttpPeers, NginxPagesRelocationsPostAndErrors) {
  QS_REQUIRE_PEER(*nginx_);
  struct Case {
    const char* name;
    std::string path;
    std::string post;  // a POST body, or empty for GET
    int status;
    std::string reason;
    std::string body;        // exact, unless empty
    std::string location;    // after the base address
    std::string events;      // unless empty
  };
  const std::vector<Case> cases = {
      {"a page", "/page.html", "", 200, "OK", "<html><body>page</body></html>\n", "/page.html",
       ""},
      {"301 to a page", "/old", "", 200, "OK", "<html><body>page</body></html>\n", "/page.html",
       ""},
      {"302 to a directory", "/temp", "", 200, "OK", "<html><body>dir index</body></html>\n",
       "/dir/", ""},
      {"a POST target", "/post", "a=1&b=2", 200, "OK", "posted POST 7", "/post", ""},
      {"a POST relocated turns into GET", "/old", "a=1", 200, "OK",
       "<html><body>page</body></html>\n", "/page.html", ""},
      {"404 with a page", "/missing.html", "", 404, "Not Found", "", "/missing.html", ""},
      {"500 with a body", "/fail", "", 500, "Internal Server Error", "", "/fail", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    THttpCli cli;
    QBuffer body;
    body.setData(c.post.data(), static_cast<qsizetype>(c.post.size()));
    body.open(QIODevice::ReadOnly);
    cli.SetSendStream(&body);
    cli.SetURL(nginx_->Base() + c.path);
    int statusAtHeaderEnd = 0;
    cli.OnHeaderEnd = [&](THttpCli& h) { statusAtHeaderEnd = h.StatusCode(); };
    const auto o = test::RunHttp(cli, [&] {
      if (c.post.empty()) cli.Get(); else cli.Post();
    });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.dones, 1);
    EXPECT_EQ(o.error, 0);
    EXPECT_EQ(cli.StatusCode(), c.status);
    EXPECT_EQ(statusAtHeaderEnd, c.status);
    EXPECT_EQ(cli.ReasonPhrase(), c.reason);
    if (!c.body.empty()) EXPECT_EQ(o.body, c.body);
    EXPECT_EQ(cli.Location(), nginx_->Base() + c.location);
    // A relocated POST ends as a GET; an answered one stays a POST.
    EXPECT_EQ(cli.RequestType(), c.post.empty() || c.location != c.path ? THttpRequest::Get
                                                                        : THttpRequest::Post);
    if (c.status == 200) EXPECT_EQ(cli.ContentLength(), static_cast<int64_t>(o.body.size()));
    // An error answer's body is not read beyond what came with its header.
    if (c.status >= 400) EXPECT_LE(o.body.size(), 1024u);
  }
}

TEST_F(HttpPeers, NginxBodyIntoBoundedReceiveStream) {
  QS_REQUIRE_PEER(*nginx_);
  struct Case {
    int64_t limit;
    int error;
    int64_t received;
  };
  for (const auto& c : std::vector<Case>{{2 * 1024 * 1024, 0, 1024 * 1024},
                                         {100000, http_error::kReceiveLimit, 100000}}) {
    SCOPED_TRACE(c.limit);
    THttpCli cli;
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    cli.SetRcvdStream(&sink);
    cli.SetRcvdStreamLimit(c.limit);
    cli.SetURL(nginx_->Base() + "/big.bin");
    const auto o = test::RunHttp(cli, [&] { cli.Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.error, c.error);
    EXPECT_EQ(cli.RcvdCount(), c.received);
    EXPECT_EQ(sink.data().size(), c.received);
    EXPECT_EQ(sink.data().count('B'), c.received);
  }
}

TEST_F(HttpPeers, ThroughTinyproxyWithBasicAuthentication) {
  QS_REQUIRE_PEER(*nginx_);
  QS_REQUIRE_PEER(*proxy_);
  struct Case {
    const char* name;
    std::string password;
    std::string path;
    int status;
    std::string body;
  };
  const std::vector<Case> cases = {
      {"right password reaches nginx", "qpass", "/page.html", 200,
       "<html><body>page</body></html>\n"},
      {"relocation again through the proxy", "qpass", "/temp", 200,
       "<html><body>dir index</body></html>\n"},
      // tinyproxy 1.11 answers a wrong password with 401 and missing credentials with 407;
      // both come from the proxy, not from nginx.
      {"wrong password is refused by the proxy", "wrong", "/page.html", 401, ""},
      {"no credentials is the proxy's 407", "", "/page.html", 407, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    THttpCli cli;
    cli.SetProxy("127.0.0.1");
    cli.SetProxyPort(std::to_string(proxy_->Port()));
    cli.SetProxyUsername(c.password.empty() ? "" : "quser");
    cli.SetProxyPassword(c.password);
    cli.SetURL(nginx_->Base() + c.path);
    const auto o = test::RunHttp(cli, [&] { cli.Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.error, 0);
    EXPECT_EQ(cli.StatusCode(), c.status);
    if (!c.body.empty()) EXPECT_EQ(o.body, c.body);
    if (c.status != 200) {
      const auto& h = cli.RcvdHeader();
      EXPECT_NE(std::find_if(h.begin(), h.end(),
                             [](const std::string& l) { return l.rfind("Server: tinyproxy", 0) == 0; }),
                h.end());
    }
  }
}

}  // namespace
}  // namespace qs
