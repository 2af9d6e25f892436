// The fetch command, run in-process against the scripted server.
#include "cli/fetchcommand.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <sstream>

#include "net/tlstrust.h"
#include "support/peers.h"
#include "support/scriptserver.h"
#include "support/tempfolder.h"
#include "support/testca.h"

namespace qs {
namespace {

using test::Close;
using test::ScriptServer;
using test::Write;

struct FetchResult {
  int exit;
  std::string out, err;
};

FetchResult Fetch(const test::TempFolder& dir, const std::vector<std::string>& args) {
  std::istringstream in;
  std::ostringstream out, err;
  const int exit = RunFetchCommand(dir.AppFolder(), args, {in, out, err});
  return {exit, out.str(), err.str()};
}

TEST(FetchCommand, PrintsHeaderToStderrAndBodyToStdout) {
  ScriptServer server({{Write("HTTP/1.0 404 Not Found\r\nContent-Type: text/plain\r\n\r\nno"),
                        Close()}});
  test::TempFolder dir;
  const auto r = Fetch(dir, {"--post", "a=1", "--referer", "http://from.test/", server.Base() + "/x"});
  EXPECT_EQ(r.exit, kExitOk);  // an answer header arrived, whatever its status
  EXPECT_EQ(r.err, "HTTP/1.0 404 Not Found\nContent-Type: text/plain\n\n");
  EXPECT_EQ(r.out, "no");
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_EQ(request.substr(0, 20), "POST /x HTTP/1.0\r\nAc");
  EXPECT_NE(request.find("\r\nReferer: http://from.test/\r\n"), std::string::npos);
  EXPECT_EQ(request.substr(request.size() - 7), "\r\n\r\na=1");
}

TEST(FetchCommand, UsesTheStoredProxy) {
  ScriptServer proxy({{Write("HTTP/1.0 200 OK\r\n\r\nvia proxy"), Close()}});
  test::TempFolder dir;
  dir.Write("dfd.ini", "[Proxy]\r\nKeyProxy=1\r\nProxyHost=127.0.0.1\r\nProxyPort=" +
                           std::to_string(proxy.Port()) + "\r\nProxyUserName=u\r\nProxyPassword=p\r\n");
  const auto r = Fetch(dir, {"http://site.test/page"});
  EXPECT_EQ(r.exit, kExitOk);
  EXPECT_EQ(r.out, "via proxy");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].substr(0, 37), "GET http://site.test/page HTTP/1.0\r\nA");
  EXPECT_NE(proxy.Requests()[0].find("Proxy-Authorization: Basic dTpw\r\n"), std::string::npos);
}

TEST(FetchCommand, FailuresAndUsage) {
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const std::string closed = "http://127.0.0.1:" + std::to_string(probe.serverPort()) + "/";
  probe.close();
  test::TempFolder dir;
  const auto refused = Fetch(dir, {closed});
  EXPECT_EQ(refused.exit, kExitFailure);
  EXPECT_EQ(refused.err,
            "quorvex-summit: fetch: 404 Connection refused (Error #10061) (error 10061)\n");
  EXPECT_EQ(Fetch(dir, {}).exit, kExitUsage);
  EXPECT_EQ(Fetch(dir, {"--post"}).exit, kExitUsage);
  EXPECT_EQ(Fetch(dir, {"--bogus", "http://h/"}).exit, kExitUsage);
  EXPECT_EQ(Fetch(dir, {"http://a/", "http://b/"}).exit, kExitUsage);
}

TEST(FetchCommand, HttpsPrintsThePageOrWhyNot) {
  test::TestCa ca;
  QS_REQUIRE_PEER(ca);
  const test::Script page = {Write("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nsecret"),
                             Close()};
  ScriptServer trusted({page}, ca.Localhost());
  ScriptServer otherName({page}, ca.OtherName());
  struct Case {
    const char* name;
    std::string url;
    bool caFile;
    int exit;
    std::string out, err;
  };
  const std::vector<Case> cases = {
      {"trusted through cafile", trusted.TlsBase() + "/", true, kExitOk, "secret",
       "HTTP/1.0 200 OK\nContent-Type: text/plain\n\n"},
      {"without cafile the test authority is unknown", trusted.TlsBase() + "/", false, kExitFailure,
       "", "quorvex-summit: fetch: 404 TLS: certificate not trusted for localhost (error 10)\n"},
      {"a certificate for another name", otherName.TlsBase() + "/", true, kExitFailure, "",
       "quorvex-summit: fetch: 404 TLS: certificate does not name localhost (error 11)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempFolder dir;
    if (c.caFile) dir.Write("dfd.ini", "[Security]\r\ncafile=" + ca.CaFile() + "\r\n");
    const auto r = Fetch(dir, {c.url});
    EXPECT_EQ(r.exit, c.exit);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
  }
  SetExtraCaFile("");
}

}  // namespace
}  // namespace qs
