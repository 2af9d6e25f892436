// The submit command against practice engines that answer over TLS, directly and through
// tinyproxy: trusted engines answer as over http, an engine whose certificate is not
// trusted is Failed and never receives the submission.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "app/clock.h"
#include "cli/commandline.h"
#include "net/tlstrust.h"
#include "practiceserver.h"
#include "submitfixture.h"
#include "support/peers.h"
#include "support/scriptserver.h"
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
    // The untrusted engine failed, and its row says why.
    EXPECT_NE(out.str().find("Three\thttps://three/\tTLS: certificate not trusted for "), std::string::npos)
        << out.str();
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

// An engine whose TLS handshake never ends (it accepts and says nothing) holds a port only
// until the run's time-out: the scan aborts it as Timeout.
class SubmitHttpsTimeOut : public test::SubmitFixture {
 protected:
  void TearDown() override {
    test::SubmitFixture::TearDown();
    clock::Set(nullptr);
  }
};

TEST_F(SubmitHttpsTimeOut, AHandshakeThatNeverEndsIsAbortedByTheRunsTimeOut) {
  test::ScriptServer mute({{test::Hang()}});
  mute.SetWaitForRequest(false);
  QDateTime now(QDate(2024, 8, 12), QTime(10, 0, 0));
  clock::Set([&now] { return now; });
  WriteSettings("1", 5, 30);
  WriteProject("dom.example", "Index",
               {{"url", "https://dom.example/"}, {"submitengines", "-1"}, {"submitcustom", "0"},
                {"genreport", "0"}});
  WriteTables({{{"e_name", "Mute"}, {"enginetype", "ENGINE"}, {"e_url", "https://mute/"},
                {"cgi_url", mute.TlsBase() + "/ok/1"}, {"method", "GET"}, {"url", "u"}}});
  OpenCatalogue();
  MakeRun();
  run->AddChecked("dom.example", {"Index"}, [](const std::string&) { return true; });
  run->Start();
  ASSERT_TRUE(RunUntil([&] { return mute.Connections() == 1; }));
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  ASSERT_EQ(run->LiveRequests(), 1);  // the handshake is under way
  now = now.addSecs(31);
  for (int i = 0; i < 17; ++i) run->Tick();
  ASSERT_TRUE(RunUntil([&] { return run->LiveRequests() == 0; }));
  EXPECT_EQ(run->Rows()[0].result, "Request Timeout");
  EXPECT_EQ(run->Rows()[0].image, TRowImage::TimedOut);
}

}  // namespace
}  // namespace qs
