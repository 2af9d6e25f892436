// THttpCli against real peers: nginx as the site, over http and over TLS with a certificate
// of a test authority made for the run, and tinyproxy with basic authentication as the proxy
// in front of it (CONNECT for https).
#include <gtest/gtest.h>

#include <QBuffer>
#include <algorithm>

#include "net/httpcli.h"
#include "net/tlstrust.h"
#include "support/httprecorder.h"
#include "support/peers.h"

namespace qs {
namespace {

class HttpPeers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ca_ = new test::TestCa;
    std::vector<test::CertAndKey> tls;
    if (ca_->Problem().empty()) tls.push_back(ca_->Localhost());
    nginx_ = new test::NginxPeer(tls);
    proxy_ = new test::TinyproxyPeer("quser", "qpass");
    SetExtraCaFile(ca_->CaFile());
  }
  static void TearDownTestSuite() {
    SetExtraCaFile("");
    delete proxy_;
    delete nginx_;
    delete ca_;
  }
  static test::TestCa* ca_;
  static test::NginxPeer* nginx_;
  static test::TinyproxyPeer* proxy_;
};
test::TestCa* HttpPeers::ca_ = nullptr;
test::NginxPeer* HttpPeers::nginx_ = nullptr;
test::TinyproxyPeer* HttpPeers::proxy_ = nullptr;

bool HasLine(const std::vector<std::string>& lines, const std::string& prefix) {
  return std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
           return l.rfind(prefix, 0) == 0;
         }) != lines.end();
}

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

TEST_F(HttpPeers, NginxOverTlsPagesPostErrorsAndRelocationsBothWays) {
  QS_REQUIRE_PEER(*ca_);
  QS_REQUIRE_PEER(*nginx_);
  const std::string tls = nginx_->TlsBase();
  const std::string plain = nginx_->Base();
  const std::string page = "<html><body>page</body></html>\n";
  struct Case {
    const char* name;
    std::string url;
    std::string post;
    int status;
    std::string body;      // exact, unless empty
    std::string location;  // where it ended
    // What nginx's TLS server logged: the SNI name the client sent, and the request line.
    std::vector<std::string> tlsLines;
  };
  const std::vector<Case> cases = {
      {"a page", tls + "/page.html", "", 200, page, tls + "/page.html",
       {"localhost GET /page.html HTTP/1.0"}},
      {"a POST target", tls + "/post", "a=1&b=2", 200, "posted POST 7", tls + "/post",
       {"localhost POST /post HTTP/1.0"}},
      {"a relative relocation stays on https", tls + "/old", "", 200, page, tls + "/page.html",
       {"localhost GET /old HTTP/1.0", "localhost GET /page.html HTTP/1.0"}},
      {"301 from https to http", tls + "/to-plain", "", 200, page, plain + "/page.html",
       {"localhost GET /to-plain HTTP/1.0"}},
      {"302 from http to https", plain + "/to-tls", "", 200, page, tls + "/page.html",
       {"localhost GET /page.html HTTP/1.0"}},
      {"404 with a page", tls + "/missing.html", "", 404, "", tls + "/missing.html",
       {"localhost GET /missing.html HTTP/1.0"}},
      {"500 with a body", tls + "/fail", "", 500, "", tls + "/fail", {"localhost GET /fail HTTP/1.0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t logged = nginx_->TlsRequestLines().size();
    THttpCli cli;
    QBuffer body;
    body.setData(c.post.data(), static_cast<qsizetype>(c.post.size()));
    body.open(QIODevice::ReadOnly);
    cli.SetSendStream(&body);
    cli.SetURL(c.url);
    const auto o = test::RunHttp(cli, [&] {
      if (c.post.empty()) cli.Get(); else cli.Post();
    });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.dones, 1);
    EXPECT_EQ(o.error, 0) << cli.ReasonPhrase();
    EXPECT_EQ(cli.StatusCode(), c.status);
    if (!c.body.empty()) EXPECT_EQ(o.body, c.body);
    if (c.status >= 400) EXPECT_LE(o.body.size(), 1024u);
    EXPECT_EQ(cli.Location(), c.location);
    test::RunUntil([&] { return nginx_->TlsRequestLines().size() >= logged + c.tlsLines.size(); },
                   3000);
    const auto lines = nginx_->TlsRequestLines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(std::min(logged, lines.size())),
                                       lines.end()),
              c.tlsLines);
  }
}

TEST_F(HttpPeers, ThroughTinyproxyHttpsGoesThroughACONNECTTunnel) {
  QS_REQUIRE_PEER(*ca_);
  QS_REQUIRE_PEER(*nginx_);
  QS_REQUIRE_PEER(*proxy_);
  // By address, so the proxy's log shows exactly what it was asked to connect to.
  const std::string tls = nginx_->TlsBase(0, "127.0.0.1");
  const std::string authority = "127.0.0.1:" + std::to_string(nginx_->TlsPort());
  const size_t logBefore = proxy_->Log().size();  // the plain test shares the proxy
  struct Case {
    const char* name;
    std::string password;
    std::string path, post;
    int status;
    std::string body;
  };
  const std::vector<Case> cases = {
      {"a page", "qpass", "/page.html", "", 200, "<html><body>page</body></html>\n"},
      {"a POST", "qpass", "/post", "k=v", 200, "posted POST 3"},
      {"a relocation opens a second tunnel", "qpass", "/temp", "", 200,
       "<html><body>dir index</body></html>\n"},
      // As for plain requests, tinyproxy 1.11 answers a wrong password with 401 and missing
      // credentials with 407.
      {"wrong password is the proxy's answer", "wrong", "/page.html", "", 401, ""},
      {"no credentials is the proxy's 407", "", "/page.html", "", 407, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t logged = nginx_->TlsRequestLines().size();
    THttpCli cli;
    cli.SetProxy("127.0.0.1");
    cli.SetProxyPort(std::to_string(proxy_->Port()));
    cli.SetProxyUsername(c.password.empty() ? "" : "quser");
    cli.SetProxyPassword(c.password);
    QBuffer body;
    body.setData(c.post.data(), static_cast<qsizetype>(c.post.size()));
    body.open(QIODevice::ReadOnly);
    cli.SetSendStream(&body);
    cli.SetURL(tls + c.path);
    const auto o = test::RunHttp(cli, [&] {
      if (c.post.empty()) cli.Get(); else cli.Post();
    });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.dones, 1);
    EXPECT_EQ(o.error, 0) << cli.ReasonPhrase();
    EXPECT_EQ(cli.StatusCode(), c.status);
    if (!c.body.empty()) EXPECT_EQ(o.body, c.body);
    if (c.status == 200) {
      // Inside the tunnel the server got the origin-form target.
      test::RunUntil([&] { return nginx_->TlsRequestLines().size() > logged; }, 3000);
      const auto lines = nginx_->TlsRequestLines();
      ASSERT_GT(lines.size(), logged);
      // No SNI for an address, only for a name.
      EXPECT_EQ(lines[logged], (c.post.empty() ? "- GET " : "- POST ") + c.path + " HTTP/1.0");
    } else {
      EXPECT_TRUE(HasLine(cli.RcvdHeader(), "Server: tinyproxy"));
      EXPECT_EQ(nginx_->TlsRequestLines().size(), logged);
    }
  }
  // The proxy saw where to connect, never a path of the site.
  const std::string log = proxy_->Log().substr(logBefore);
  EXPECT_NE(log.find("CONNECT " + authority), std::string::npos) << log;
  EXPECT_EQ(log.find("/page.html"), std::string::npos) << log;
  EXPECT_EQ(log.find("/post"), std::string::npos) << log;
}

}  // namespace
}  // namespace qs
