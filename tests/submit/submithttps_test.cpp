// The submit command against practice engines that answer over TLS, directly and through
// tinyproxy: trusted engines answer as over http, an engine whose certificate is not
// trusted is Failed and never receives the submission.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "cli/commandline.h"
#include "net/tlstrust.h"
#include "practiceserver.h"
#include "submitfixture.h"
#include "support/peers.h"
#include "support/testca.h"

namespace qs {
namespace {

class SubmitOverHttps : public test::SubmitFixture {
 protected:
  void SetUp() override {
    QS_REQUIRE_PEER(ca);
    std::string problem;
    ASSERT_TRUE(engines.SetTls(ca.Localhost().cert, ca.Localhost().key, problem)) << problem;
    ASSERT_TRUE(untrusted.SetTls(ca.SelfSigned().cert, ca.SelfSigned().key, problem)) << problem;
    ASSERT_TRUE(engines.Listen());
    ASSERT_TRUE(untrusted.Listen());
    std::filesystem::copy(QS_SOURCE_DIR "/data", dir.Root(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    dir.Write("data/domains/domains.zro", "[List]\r\ndom.example\r\n");
    dir.Write("data/domains/dom.example.zro", "[List]\r\n/b.htm\r\n");
    WriteProject("dom.example", "_b.htm",
                 {{"url", "https://dom.example/b.htm"}, {"submitengines", "-1"},
                  {"submitcustom", "0"}, {"genreport", "0"}});
    WriteTables({{{"e_name", "One"}, {"enginetype", "ENGINE"}, {"e_url", "https://one/"},
                  {"cgi_url", engines.Base() + "/ok/1"}, {"method", "GET"}, {"url", "u"}},
                 {{"e_name", "Two"}, {"enginetype", "ENGINE"}, {"e_url", "https://two/"},
                  {"cgi_url", engines.Base() + "/missing/2"}, {"method", "POST"}, {"url", "u"}},
                 {{"e_name", "Three"}, {"enginetype", "ENGINE"}, {"e_url", "https://three/"},
                  {"cgi_url", untrusted.Base() + "/ok/3"}, {"method", "GET"}, {"url", "u"}}});
  }
  void TearDown() override { SetExtraCaFile(""); }

  // dfd.ini: the run's settings, the test authority as the extra trusted certificates, and
  // the proxy when one is given.
  void Settings(const std::string& proxy) {
    dir.Write("dfd.ini", "[Application]\r\nupdate=1\r\nports=5\r\ntimeout=30\r\n"
                         "[Security]\r\ncafile=" + ca.CaFile() + "\r\n" + proxy);
  }
  int Run() {
    out.str("");
    err.str("");
    return RunCommandLine({"--home", dir.Root(), "submit", "dom.example", "/b.htm"}, dir.Root(),
                          dir.Root(), {in, out, err});
  }
  void ExpectTheRun() {
    ASSERT_EQ(Run(), kExitOk) << err.str();
    EXPECT_NE(out.str().find("One\thttps://one/\tOK\tENGINE\tOK\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Two\thttps://two/\tNot Found\tENGINE\tFailed\n"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("Three\thttps://three/\t"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("Three\thttps://three/\tOK"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("  Failed: 2\n"), std::string::npos) << out.str();
    // Inside TLS the engines got the origin-form target, the GET and the POST.
    ASSERT_EQ(engines.Received().size(), 2u);
    std::vector<std::string> lines;
    for (const auto& r : engines.Received()) lines.push_back(r.bytes.substr(0, r.bytes.find("\r\n")));
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines[0].substr(0, 10), "GET /ok/1?");
    EXPECT_EQ(lines[1], "POST /missing/2 HTTP/1.0");
    EXPECT_TRUE(untrusted.Received().empty());
  }

  test::TestCa ca;
  practice::TPracticeServer engines, untrusted;
  std::istringstream in;
  std::ostringstream out, err;
};

TEST_F(SubmitOverHttps, DirectlyTrustedEnginesAnswerAndTheUntrustedOneFails) {
  Settings("");
  ExpectTheRun();
}

TEST_F(SubmitOverHttps, ThroughTinyproxyEveryEngineGoesThroughATunnel) {
  test::TinyproxyPeer proxy("quser", "qpass");
  QS_REQUIRE_PEER(proxy);
  Settings("[Proxy]\r\nKeyProxy=1\r\nProxyHost=127.0.0.1\r\nProxyPort=" +
           std::to_string(proxy.Port()) + "\r\nProxyUserName=quser\r\nProxyPassword=qpass\r\n");
  ExpectTheRun();
  const std::string log = proxy.Log();
  EXPECT_NE(log.find("CONNECT 127.0.0.1:" + std::to_string(engines.Port())), std::string::npos)
      << log;
  EXPECT_EQ(log.find("/ok/1"), std::string::npos) << log;
}

}  // namespace
}  // namespace qs
