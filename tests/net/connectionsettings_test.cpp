// The proxy, time-out, ports and dial-up settings, the connectivity check and the dial-up
// component.
#include "net/connectionsettings.h"

#include <gtest/gtest.h>

#include "net/httpcli.h"
#include "support/httprecorder.h"
#include "support/scriptserver.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

TEST(ConnectionProxy, KeyProxyDecides) {
  struct Case {
    const char* name;
    std::string file;
    TProxyValues expected;
  };
  const std::vector<Case> cases = {
      {"off: stored values are not used",
       "[Proxy]\r\nKeyProxy=0\r\nProxyHost=proxy.test\r\nProxyPort=3128\r\n", {}},
      {"absent: off", "[Proxy]\r\nProxyHost=proxy.test\r\n", {}},
      {"on, user name key in any letter case, password with '='",
       "[Proxy]\r\nKeyProxy=1\r\nProxyHost=p.test\r\nProxyPort=8080\r\nPROXYUSERNAME=u\r\n"
       "ProxyPassword=a=b=c\r\n",
       {"p.test", "8080", "u", "a=b=c"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempFolder dir;
    dir.Write("dfd.ini", c.file);
    TConnectionSettings settings(dir.AppFolder());
    EXPECT_EQ(settings.ReadProxy(), c.expected);
    EXPECT_EQ(settings.ProxyPanel().fields, c.expected);
    EXPECT_EQ(settings.ProxyPanel().behindProxy, !c.expected.host.empty());
  }
}

TEST(ConnectionProxy, OffMeansRequestsGoDirect) {
  test::ScriptServer site({{test::Write("HTTP/1.0 200 OK\r\n\r\nsite"), test::Close()}});
  test::ScriptServer proxy({{test::Write("HTTP/1.0 200 OK\r\n\r\nproxy"), test::Close()}});
  test::TempFolder dir;
  dir.Write("dfd.ini", "[Proxy]\r\nKeyProxy=0\r\nProxyHost=127.0.0.1\r\nProxyPort=" +
                           std::to_string(proxy.Port()) + "\r\n");
  TConnectionSettings settings(dir.AppFolder());
  THttpCli httpSubmit;
  httpSubmit.SetProxy("stale.test");  // what an earlier Apply had set
  TConnectionSettings::ApplyProxyTo(settings.ReadProxy(), httpSubmit);
  THttpCli request;
  request.CopyProxyFrom(httpSubmit);
  request.SetURL(site.Base() + "/");
  const auto o = test::RunHttp(request, [&] { request.Get(); });
  ASSERT_TRUE(o.finished);
  EXPECT_EQ(o.body, "site");
  EXPECT_EQ(proxy.Connections(), 0);
}

TEST(ConnectionProxy, ApplyWritesInOrderAndEmptiesWhenOff) {
  test::TempFolder dir;
  TConnectionSettings settings(dir.AppFolder());
  settings.EditProxyPanel() = {{"p.test", "3128", "user", "pw"}, true, ""};
  EXPECT_EQ(settings.ApplyProxyPanel(), (TProxyValues{"p.test", "3128", "user", "pw"}));
  EXPECT_EQ(dir.Read("dfd.ini"),
            "[Proxy]\r\nProxyHost=p.test\r\nProxyPassword=pw\r\nProxyPort=3128\r\n"
            "ProxyUserName=user\r\nKeyProxy=1\r\n\r\n[Security]\r\ncafile=\r\n\r\n");

  // Switched off: the values are no longer used, and the panel now shows empty fields...
  settings.EditProxyPanel().behindProxy = false;
  EXPECT_EQ(settings.ApplyProxyPanel(), TProxyValues{});
  EXPECT_EQ(settings.ProxyPanel().fields, TProxyValues{});
  // ...so the next Apply empties the stored values.
  settings.ApplyProxyPanel();
  EXPECT_EQ(dir.Read("dfd.ini"),
            "[Proxy]\r\nProxyHost=\r\nProxyPassword=\r\nProxyPort=\r\nProxyUserName=\r\n"
            "KeyProxy=0\r\n\r\n[Security]\r\ncafile=\r\n\r\n");
}

TEST(ConnectionTimeoutsPorts, StoredValuesAreBroughtIntoRange) {
  struct Case {
    std::string file;
    int timeout, ports;
  };
  const std::vector<Case> cases = {
      {"", 90, 5},
      {"[Application]\r\ntimeout=200\r\nports=30\r\n", 120, 25},
      {"[Application]\r\ntimeout=10\r\nports=0\r\n", 30, 1},
      {"[Application]\r\ntimeout=45\r\nports=7\r\n", 45, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    test::TempFolder dir;
    dir.Write("dfd.ini", c.file);
    TConnectionSettings settings(dir.AppFolder());
    settings.ReadTimeoutsPorts();
    EXPECT_EQ(settings.Timeout().Value(), c.timeout);
    EXPECT_EQ(settings.Ports().Value(), c.ports);
  }
}

TEST(ConnectionTimeoutsPorts, TypedValuesCountAtOnceAndAreStoredOnlyByApply) {
  test::TempFolder dir;
  dir.Write("dfd.ini", "[Application]\r\ntimeout=60\r\nports=3\r\n");
  TConnectionSettings settings(dir.AppFolder());
  settings.ReadTimeoutsPorts();
  struct Typed {
    std::string text;
    int value;        // read while typing
    std::string left; // the text after leaving the field
  };
  for (const auto& t : std::vector<Typed>{{"12", 12, "12"}, {"99", 25, "25"}, {"abc", 1, "1"},
                                          {"", 1, "1"}, {"-4", 1, "1"}, {"7x", 1, "1"},
                                          {"99999999999999", 25, "25"}}) {
    SCOPED_TRACE(t.text);
    settings.Ports().SetText(t.text);
    EXPECT_EQ(settings.Ports().Value(), t.value);
    settings.Ports().Leave();
    EXPECT_EQ(settings.Ports().Text(), t.left);
  }
  settings.Ports().SetText("12");
  TConnectionSettings restarted(dir.AppFolder());
  restarted.ReadTimeoutsPorts();
  EXPECT_EQ(restarted.Ports().Value(), 3);

  settings.Timeout().SetText("abc");
  settings.ApplyTimeoutsPorts();
  restarted.ReadTimeoutsPorts();
  EXPECT_EQ(restarted.Ports().Value(), 12);
  EXPECT_EQ(restarted.Timeout().Value(), 30);
}

TEST(ConnectionDialup, ClicksAreWrittenAtOnce) {
  test::TempFolder dir;
  TConnectionSettings settings(dir.AppFolder());
  settings.ClickOnDemand(true);
  settings.ClickHangUp(true);
  settings.ClickConPrompt(false);
  EXPECT_EQ(dir.Read("dfd.ini"), "[Application]\r\nOnDemand=1\r\nHangUp=1\r\nConPrompt=0\r\n\r\n");
  TConnectionSettings again(dir.AppFolder());
  const auto d = again.ReadDialup();
  EXPECT_TRUE(d.onDemand);
  EXPECT_TRUE(d.hangUp);
  EXPECT_FALSE(d.conPrompt);
}

class FakeConnection : public IInternetConnection {
 public:
  bool connected = false;
  std::vector<std::string> calls;
  bool Connected() override { return connected; }
  bool Dial(int flag) override {
    calls.push_back("Dial(" + std::to_string(flag) + ")");
    return false;
  }
  bool HangUp() override {
    calls.push_back("HangUp");
    return false;
  }
};

TEST(ConnectionDialup, SchedulerConnectsAndHangsUpAsConfigured) {
  struct Case {
    const char* name;
    std::string file;
    bool connected;
    bool hangUpChecked;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"on demand, unattended", "[Application]\r\nOnDemand=1\r\n", false, false, {"Dial(2)"}},
      {"on demand, with prompt", "[Application]\r\nOnDemand=1\r\nConPrompt=1\r\n", false, false,
       {"Dial(1)"}},
      {"on demand, already connected: hang-up when idle",
       "[Application]\r\nOnDemand=1\r\n", true, true, {"HangUp"}},
      {"not on demand: never dials nor hangs up", "[Application]\r\nOnDemand=0\r\nHangUp=1\r\n",
       false, true, {}},
      {"not on demand, connected, hang-up checked", "[Application]\r\nHangUp=1\r\n", true, true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempFolder dir;
    dir.Write("dfd.ini", c.file);
    TConnectionSettings settings(dir.AppFolder());
    FakeConnection net;
    net.connected = c.connected;
    TWebConnect web(net);
    settings.ConnectForScheduler(web);
    TConnectionSettings::HangUpWhenIdle(web, c.hangUpChecked);
    EXPECT_EQ(net.calls, c.calls);
  }
}

TEST(ConnectionCheck, MessageUnlessConnectedAndSilentForTheScheduler) {
  TLanguageTable language;
  FakeConnection net;
  TScriptedAnswerer dialogs;
  net.connected = true;
  EXPECT_TRUE(TConnectionSettings::CheckInternet(net, &dialogs, language));
  EXPECT_TRUE(dialogs.Calls().empty());
  net.connected = false;
  EXPECT_FALSE(TConnectionSettings::CheckInternet(net, &dialogs, language));
  ASSERT_EQ(dialogs.Calls().size(), 1u);
  EXPECT_EQ(dialogs.Calls()[0].text, "No internet connection was detected.");
  EXPECT_EQ(dialogs.Calls()[0].type, TMsgDlgType::Error);
  EXPECT_FALSE(TConnectionSettings::CheckInternet(net, nullptr, language));
  EXPECT_EQ(dialogs.Calls().size(), 1u);
}

}  // namespace
}  // namespace qs
