// The rank command, run in-process against the scripted server.
#include "cli/rankcommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/text.h"
#include "net/tlstrust.h"
#include "support/peers.h"
#include "ranking/rankhistory.h"
#include "support/scriptserver.h"
#include "support/tempfolder.h"
#include "support/testca.h"

namespace qs {
namespace {

using test::Close;
using test::ScriptServer;
using test::Write;

struct RankResult {
  int exit;
  std::string out, err;
};

RankResult Rank(const test::TempFolder& dir, const std::vector<std::string>& args) {
  std::istringstream in;
  std::ostringstream out, err;
  const int exit = RunRankCommand(dir.AppFolder(), args, {in, out, err});
  return {exit, out.str(), err.str()};
}

std::string Answer(const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body;
}

class RankCommandTest : public testing::Test {
 protected:
  RankCommandTest() {
    dir.Write("data/ranking.czc",
              ReplaceAll("[List]\nZeta\nalpha\n"
                         "[alpha]\nurl=@/a?q=$keyword&s=$page\npage=($curpage-1)*10+1\n"
                         "search=<a href=\"\n"
                         "[Zeta]\nurl=@/z?q=$keyword\nsearch=<a href=\"\n",
                         "@", server.Base()));
  }
  test::TempFolder dir;
  ScriptServer server;
};

TEST_F(RankCommandTest, PrintsStatusDepthAndHitsPerEngine) {
  const std::string other = "<a href=\"http://other.test/\">";
  std::string page2;
  for (int i = 0; i < 6; ++i) page2 += other;
  page2 += "<a href=\"http://www.site.test/page\">";
  server.SetScripts({{Write(Answer(other)), Close()}, {Write(Answer(page2)), Close()}});
  const RankResult r = Rank(dir, {"--url", "http://www.site.test/", "--keyword", "blue widget",
                                  "--depth", "20", "ALPHA"});
  EXPECT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_EQ(r.out, "alpha\n  Status: Finished\n  Searching Top: 20\n  Position 17 " +
                       server.Base() + "/a?q=blue+widget&s=11\n");
  ASSERT_EQ(server.Requests().size(), 2u);
}

TEST_F(RankCommandTest, EveryEngineWhenNoneIsNamed) {
  server.SetScripts({{Write(Answer("")), Close()}});
  const RankResult r = Rank(dir, {"--url", "http://www.site.test/", "--keyword", "k"});
  EXPECT_EQ(r.exit, kExitOk) << r.err;
  EXPECT_EQ(r.out,
            "alpha\n  Status: Finished\n  Searching Top: 10\n"
            "Zeta\n  Status: Finished\n  Searching Top: 10\n");
}

TEST_F(RankCommandTest, KeepsTheHistoryOfTheProjectOfTheUrlUnlessToldNot) {
  dir.Write("data/domains/projects/site.test/Index.zro", "[Index]\r\nurl=http://www.site.test/\r\n");
  server.SetScripts({{Write(Answer("<a href=\"http://www.site.test/\">")), Close()}});
  const std::vector<std::string> args{"--url", "http://www.site.test/", "--keyword", "k", "Zeta"};
  std::vector<std::string> without = args;
  without.insert(without.begin(), "--no-history");
  EXPECT_EQ(Rank(dir, without).exit, kExitOk);
  EXPECT_FALSE(dir.Exists("data/domains/projects/site.test/Index.rnk"));
  const RankResult r = Rank(dir, args);
  EXPECT_EQ(r.exit, kExitOk) << r.err;
  const TRankHistoryFile file = ReadRankHistory(dir.Path("data/domains/projects/site.test/Index.rnk"));
  ASSERT_EQ(file.checks.size(), 1u);
  EXPECT_EQ(file.checks[0].engine, "Zeta");
  EXPECT_EQ(file.checks[0].positions, std::vector<int>{1});
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(RankCommandTest, FailuresExitNonZero) {
  struct {
    std::vector<std::string> args;
    int exit;
    std::string err;
  } cases[] = {
      {{"--keyword", "k"}, kExitUsage, "--url"},
      {{"--url", "http://x/"}, kExitUsage, "--keyword"},
      {{"--url", "http://x/", "--keyword", "k", "nosuch"}, kExitFailure,
       "no ranking engine nosuch"},
      {{"--url", "http://x/", "--keyword", "k", "--depth", "ten"}, kExitFailure,
       "'ten' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    const RankResult r = Rank(dir, c.args);
    EXPECT_EQ(r.exit, c.exit) << c.err;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  EXPECT_EQ(server.Connections(), 0);
}

// An engine that answers over TLS, trusted through [Security] cafile: directly, and through
// tinyproxy with a CONNECT tunnel.
TEST(RankCommandHttps, AnEngineOverHttpsDirectlyAndThroughTinyproxy) {
  test::TestCa ca;
  QS_REQUIRE_PEER(ca);
  test::TinyproxyPeer proxy("quser", "qpass");
  QS_REQUIRE_PEER(proxy);
  struct Case {
    const char* name;
    std::string proxySettings;
  };
  const std::vector<Case> cases = {
      {"directly", ""},
      {"through tinyproxy", "[Proxy]\r\nKeyProxy=1\r\nProxyHost=127.0.0.1\r\nProxyPort=" +
                                std::to_string(proxy.Port()) +
                                "\r\nProxyUserName=quser\r\nProxyPassword=qpass\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptServer engine({{Write(Answer("<a href=\"https://www.site.test/page\">")), Close()}},
                        ca.Localhost());
    const std::string base = engine.TlsBase("127.0.0.1");
    test::TempFolder dir;
    dir.Write("data/ranking.czc",
              "[List]\nsecure\n[secure]\nurl=" + base + "/a?q=$keyword\nsearch=<a href=\"\n");
    dir.Write("dfd.ini", "[Security]\r\ncafile=" + ca.CaFile() + "\r\n" + c.proxySettings);
    const RankResult r = Rank(dir, {"--url", "https://www.site.test/", "--keyword", "k"});
    EXPECT_EQ(r.exit, kExitOk) << r.err;
    EXPECT_EQ(r.out, "secure\n  Status: Finished\n  Searching Top: 10\n  Position 1 " + base +
                         "/a?q=k\n");
    ASSERT_EQ(engine.Requests().size(), 1u);
    EXPECT_EQ(engine.Requests()[0].substr(0, 15), "GET /a?q=k HTTP");
    SetExtraCaFile("");
  }
  EXPECT_NE(proxy.Log().find("CONNECT 127.0.0.1:"), std::string::npos) << proxy.Log();
}

}  // namespace
}  // namespace qs
