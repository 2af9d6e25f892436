// THttpCli over TLS: the request inside TLS is the plain request, every certificate and
// handshake failure ends as a result with its own code and reason, and the trusted
// certificates come from the [Security] cafile setting. The servers are scripted TLS
// servers on loopback with certificates of a test authority made for the test.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "net/connectionsettings.h"
#include "net/httpcli.h"
#include "net/tlstrust.h"
#include "support/fakesocket.h"
#include "support/httprecorder.h"
#include "support/peers.h"
#include "support/scriptserver.h"

namespace qs {
namespace {

using test::Close;
using test::Hang;
using test::Pause;
using test::Script;
using test::ScriptServer;
using test::Write;
using test::WriteForever;

const std::string kAccept = "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n";
const std::string kAgent = "User-Agent: Mozilla/3.0 (compatible)\r\n";

// The test authority, trusted through the extra certificates file for the test's length.
class Tls : public ::testing::Test {
 protected:
  void SetUp() override {
    QS_REQUIRE_PEER(ca);
    SetExtraCaFile(ca.CaFile());
  }
  void TearDown() override { SetExtraCaFile(""); }
  test::TestCa ca;
};

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(Tls, TheRequestInsideTlsIsThePlainRequestWithTheSameEvents) {
  struct Case {
    const char* name;
    std::string path;
    std::string post;  // a POST body, or empty for GET
    Script script;
  };
  const std::vector<Case> cases = {
      {"GET with a body in pieces", "/a/b.html?x=1", "",
       {Write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nSet-Cookie: id=1\r\n\r\nfirst "),
        Pause(20), Write("second"), Close()}},
      {"POST larger than one piece", "/form", std::string(20000, 'z'),
       {Write("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok"), Close()}},
      {"404 with a body", "/missing", "",
       {Write("HTTP/1.1 404 Not Found\r\n\r\nnot here"), Pause(30), Write(" later"), Close()}},
      {"content length 0", "/empty", "a=1",
       {Write("HTTP/1.1 204 No Content\r\nContent-Length: 0\r\n\r\n"), Close()}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    struct Run {
      test::HttpOutcome outcome;
      std::string request, states;
      int status;
      std::string reason;
    };
    auto run = [&](bool tls) {
      ScriptServer server({c.script}, tls ? std::optional(ca.Localhost()) : std::nullopt);
      THttpCli cli;
      QBuffer body;
      body.setData(c.post.data(), static_cast<qsizetype>(c.post.size()));
      body.open(QIODevice::ReadOnly);
      cli.SetSendStream(&body);
      // The same host name for both, so the Host lines match.
      cli.SetURL((tls ? server.TlsBase() : "http://localhost:" + std::to_string(server.Port())) +
                 c.path);
      Run r;
      cli.OnStateChange = [&r](THttpCli& h) { r.states += std::to_string(int(h.State())) + " "; };
      r.outcome = test::RunHttp(cli, [&] {
        if (c.post.empty()) cli.Get(); else cli.Post();
      });
      r.request = server.Requests().empty() ? "" : server.Requests()[0];
      r.status = cli.StatusCode();
      r.reason = cli.ReasonPhrase();
      return r;
    };
    const Run plain = run(false);
    const Run tls = run(true);
    ASSERT_TRUE(tls.outcome.finished);
    EXPECT_EQ(tls.outcome.dones, 1);
    EXPECT_EQ(tls.outcome.error, 0);
    EXPECT_FALSE(tls.request.empty());
    EXPECT_EQ(tls.request, plain.request);
    EXPECT_EQ(tls.outcome.events, plain.outcome.events);
    EXPECT_EQ(tls.states, plain.states);
    EXPECT_EQ(tls.outcome.body, plain.outcome.body);
    EXPECT_EQ(tls.status, plain.status);
    EXPECT_EQ(tls.reason, plain.reason);
  }
}

TEST_F(Tls, EveryFailureEndsOnceWithItsCodeAndReason) {
  // A TLS record header of a handshake message far larger than any certificate chain, then
  // its "contents" without end.
  const std::string hugeRecord = std::string("\x16\x03\x03\xff\xff\x0b\xff\xff\xff", 9);
  struct Case {
    const char* name;
    std::function<std::unique_ptr<ScriptServer>()> server;
    std::string host;
    int error;
    std::string reason;
  };
  auto tlsWith = [](test::CertAndKey cert) {
    return [cert] {
      return std::make_unique<ScriptServer>(std::vector<Script>{{Write("HTTP/1.0 200 OK\r\n\r\nx"),
                                                                 Close()}},
                                            cert);
    };
  };
  auto plainAtOnce = [](Script script) {
    return [script] {
      auto s = std::make_unique<ScriptServer>(std::vector<Script>{script});
      s->SetWaitForRequest(false);
      return s;
    };
  };
  const std::vector<Case> cases = {
      {"self-signed", tlsWith(ca.SelfSigned()), "localhost", http_error::kTlsUntrusted,
       "TLS: certificate not trusted for localhost"},
      {"another name", tlsWith(ca.OtherName()), "localhost", http_error::kTlsHostMismatch,
       "TLS: certificate does not name localhost"},
      {"another address", tlsWith(ca.OtherName()), "127.0.0.1", http_error::kTlsHostMismatch,
       "TLS: certificate does not name 127.0.0.1"},
      {"expired", tlsWith(ca.Expired()), "localhost", http_error::kTlsExpired,
       "TLS: certificate expired or not yet valid for localhost"},
      {"a plain HTTP server on the port",
       plainAtOnce({Pause(50), Write("HTTP/1.1 400 Bad Request\r\n\r\nplain"), Close()}),
       "localhost", http_error::kTlsHandshake, "TLS: handshake failed with localhost: "},
      {"closed after the ClientHello", plainAtOnce({Pause(100), Close()}), "localhost",
       http_error::kTlsClosed, "TLS: localhost closed the connection during the handshake"},
      {"garbage instead of a ServerHello",
       plainAtOnce({Pause(50), Write(std::string(3000, '\x7f')), Hang()}), "localhost",
       http_error::kTlsHandshake, "TLS: handshake failed with localhost: "},
      {"a handshake message without end", plainAtOnce({Pause(50), Write(hugeRecord),
                                                       WriteForever(std::string(65536, 'c'))}),
       "localhost", http_error::kTlsHandshake, "TLS: handshake failed with localhost: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto server = c.server();
    THttpCli cli;
    cli.SetURL("https://" + c.host + ":" + std::to_string(server->Port()) + "/page");
    int headerEnds = 0;
    cli.OnHeaderEnd = [&](THttpCli&) { ++headerEnds; };
    const auto o = test::RunHttp(cli, [&] { cli.Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.dones, 1);
    EXPECT_EQ(o.events, "Done(" + std::to_string(c.error) + ")");
    EXPECT_EQ(o.error, c.error);
    EXPECT_EQ(cli.StatusCode(), 404);
    EXPECT_EQ(cli.ReasonPhrase().substr(0, c.reason.size()), c.reason);
    EXPECT_EQ(headerEnds, 0);
    EXPECT_EQ(cli.State(), THttpState::Ready);
    // Nothing of the request went out in the clear or to a server that was not trusted.
    for (const auto& r : server->Requests()) EXPECT_EQ(r.find("GET /page"), std::string::npos);
  }
}

TEST_F(Tls, AHandshakeThatNeverEndsIsAbortedByTheCaller) {
  ScriptServer server({{Hang()}});
  server.SetWaitForRequest(false);
  THttpCli cli;
  cli.SetURL(server.TlsBase() + "/");
  const auto o = test::RunHttp(cli, [&] {
    cli.Get();
    QTimer::singleShot(200, [&] {
      EXPECT_EQ(cli.State(), THttpState::DnsLookupDone);  // the handshake is under way
      cli.Abort();
    });
  });
  ASSERT_TRUE(o.finished);
  EXPECT_EQ(o.events, "Done(3)");
  EXPECT_EQ(cli.StatusCode(), 404);
  EXPECT_EQ(cli.ReasonPhrase(), "Connection aborted on request");
}

TEST_F(Tls, TheExtraCertificatesFileDecidesTrustAndIsReadAgainWhenItChanges) {
  ScriptServer server({{Write("HTTP/1.0 200 OK\r\n\r\ntrusted"), Close()}}, ca.Localhost());
  test::TempFolder dir;
  auto get = [&] {
    THttpCli cli;
    cli.SetURL(server.TlsBase() + "/");
    const auto o = test::RunHttp(cli, [&] { cli.Get(); });
    EXPECT_TRUE(o.finished);
    return std::make_pair(o.error, cli.ReasonPhrase());
  };
  struct Case {
    const char* name;
    std::string ini;        // dfd.ini
    std::string fileBytes;  // written to extra.pem before the request
    int error;
    std::string reason;
  };
  const std::string extra = dir.Path("extra.pem");
  const std::string ini = "[Security]\r\ncafile=" + extra + "\r\n";
  const std::string authority = FileBytes(ca.CaFile());
  const std::string selfSigned = FileBytes(ca.SelfSigned().cert);
  ASSERT_FALSE(authority.empty());
  const std::vector<Case> cases = {
      {"no setting: the system's store only", "", "", http_error::kTlsUntrusted,
       "TLS: certificate not trusted for localhost"},
      {"the test authority", ini, authority, 0, "OK"},
      {"the file now holds another certificate", ini, selfSigned + "\n\n",
       http_error::kTlsUntrusted, "TLS: certificate not trusted for localhost"},
      {"a file without certificates", ini, "not a certificate\n", http_error::kTlsSetup,
       "TLS: no certificate in the trusted certificates file " + extra},
      {"a file that is not there", "[Security]\r\ncafile=" + dir.Path("none.pem") + "\r\n", "",
       http_error::kTlsSetup, "TLS: cannot read the trusted certificates file " + dir.Path("none.pem")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("dfd.ini", c.ini);
    if (!c.fileBytes.empty()) dir.Write("extra.pem", c.fileBytes);
    TConnectionSettings(dir.AppFolder()).ReadProxy();
    const auto [error, reason] = get();
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(reason, c.reason);
  }
}

// ---------------------------------------------------------------------------------------
// Through a proxy: the CONNECT request, and the proxy's refusal as the answer.

TEST_F(Tls, ThroughAProxyTheTunnelIsAskedForFirstAndARefusalIsTheAnswer) {
  struct Case {
    const char* name;
    std::string user;
    Script proxyScript;
    std::string expectedConnect;
    std::string events;
    int status;
    std::string reason;
    int error;
  };
  const std::string refusal =
      "HTTP/1.0 407 Proxy Authentication Required\r\nLocation: /elsewhere\r\n\r\nlog in";
  const std::vector<Case> cases = {
      {"credentials, refused", "pu", {Write(refusal), Close()},
       "CONNECT site.test:8443 HTTP/1.0\r\n" + kAgent +
           "Host: site.test:8443\r\nProxy-Authorization: Basic cHU6cHc=\r\n\r\n",
       // The refusal's Location is not followed: it is not the site's.
       "HeaderBegin HeaderData HeaderData HeaderEnd DocBegin DocData DocEnd Done(0)", 407,
       "Proxy Authentication Required", 0},
      {"no credentials, a bad gateway", "",
       {Write("HTTP/1.1 502 Bad Gateway\r\n\r\n"), Close()},
       "CONNECT site.test:8443 HTTP/1.0\r\n" + kAgent + "Host: site.test:8443\r\n\r\n",
       "HeaderBegin HeaderData HeaderEnd Done(0)", 502, "Bad Gateway", 0},
      {"tunnel granted, but bytes follow the answer", "",
       {Write("HTTP/1.0 200 Connection established\r\n\r\nearly"), Hang()},
       "CONNECT site.test:8443 HTTP/1.0\r\n" + kAgent + "Host: site.test:8443\r\n\r\n",
       "Done(13)", 404,
       "TLS: handshake failed with site.test: the proxy sent data after its answer", 13},
      {"an answer whose header never ends", "",
       {Write("HTTP/1.0 200 Connection established\r\n"),
        WriteForever("X-Filler: " + std::string(100, 'f') + "\r\n")},
       "CONNECT site.test:8443 HTTP/1.0\r\n" + kAgent + "Host: site.test:8443\r\n\r\n",
       "Done(8)", 404, "HTTP header too long", http_error::kHeaderTooLong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptServer proxy({c.proxyScript});
    THttpCli cli;
    cli.SetProxy("127.0.0.1:" + std::to_string(proxy.Port()));
    cli.SetProxyUsername(c.user);
    cli.SetProxyPassword("pw");
    cli.SetURL("https://site.test:8443/secret/path");
    const auto o = test::RunHttp(cli, [&] { cli.Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.dones, 1);
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0], c.expectedConnect);
    EXPECT_EQ(o.events, c.events);
    EXPECT_EQ(cli.StatusCode(), c.status);
    EXPECT_EQ(cli.ReasonPhrase(), c.reason);
    EXPECT_EQ(o.error, c.error);
    EXPECT_EQ(cli.Location(), "https://site.test:8443/secret/path");
  }
}

// ---------------------------------------------------------------------------------------
// Relocations across schemes, on a socket without a network: which requests follow, with
// which credentials, and which of them were encrypted.

TEST(TlsRelocation, FollowedBothWaysWithoutCarryingCredentialsAcrossSchemes) {
  struct Case {
    const char* name;
    std::string url;
    std::string location;
    std::string secondRequestLine;
    bool secondHasAuthorization;
    std::vector<std::string> tlsPeers;
    std::string finalLocation;
  };
  const std::vector<Case> cases = {
      {"http to https on the same host", "http://u:p@site.test/a", "https://site.test/b",
       "GET /b HTTP/1.0", false, {"site.test"}, "https://site.test/b"},
      {"https to http on the same host", "https://u:p@site.test/a", "http://site.test/b",
       "GET /b HTTP/1.0", false, {"site.test"}, "http://site.test/b"},
      {"https, a path on the same server keeps scheme and credentials", "https://u:p@site.test/a",
       "/b", "GET /b HTTP/1.0", true, {"site.test", "site.test"}, "https://site.test/b"},
      {"https to https on another host", "https://u:p@site.test/a", "https://other.test/c",
       "GET /c HTTP/1.0", false, {"site.test", "other.test"}, "https://other.test/c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto socket = std::make_unique<test::FakeSocket>();
    test::FakeSocket* fake = socket.get();
    THttpCli cli(std::move(socket));
    cli.SetURL(c.url);
    int answered = 0;
    cli.OnSessionConnected = [&](THttpCli&) {
      if (answered++ == 0) {
        fake->Feed("HTTP/1.0 302 Found\r\nLocation: " + c.location + "\r\n\r\n");
      } else {
        fake->Feed("HTTP/1.0 200 OK\r\n\r\nthere");
      }
      fake->PeerClose();
    };
    const auto o = test::RunHttp(cli, [&] { cli.Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.error, 0);
    EXPECT_EQ(o.body, "there");
    ASSERT_EQ(fake->sent.size(), 2u);
    EXPECT_NE(fake->sent[0].find("Authorization: Basic dTpw"), std::string::npos);
    EXPECT_EQ(fake->sent[1].substr(0, fake->sent[1].find("\r\n")), c.secondRequestLine);
    EXPECT_EQ(fake->sent[1].find("Authorization") != std::string::npos, c.secondHasAuthorization);
    EXPECT_EQ(fake->tlsPeers, c.tlsPeers);
    EXPECT_EQ(cli.Location(), c.finalLocation);
  }
}

}  // namespace
}  // namespace qs
