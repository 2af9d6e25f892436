// THttpCli's starting rules, abort, failures and what its event handlers may do.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTcpServer>

#include "net/httpcli.h"
#include "support/fakesocket.h"
#include "support/httprecorder.h"
#include "support/scriptserver.h"

namespace qs {
namespace {

using test::Close;
using test::FakeSocket;
using test::Hang;
using test::ScriptServer;
using test::Write;

const std::string kOk = "HTTP/1.0 200 OK\r\n\r\nbody";

std::string StateName(THttpState s) {
  switch (s) {
    case THttpState::Ready: return "Ready";
    case THttpState::NotConnected: return "NotConnected";
    case THttpState::Connected: return "Connected";
    case THttpState::DnsLookup: return "DnsLookup";
    case THttpState::DnsLookupDone: return "DnsLookupDone";
    case THttpState::WaitingHeader: return "WaitingHeader";
    case THttpState::WaitingBody: return "WaitingBody";
    case THttpState::Aborting: return "Aborting";
  }
  return "?";
}

TEST(HttpStart, BusyAndNothingToPostFailAtOnce) {
  ScriptServer server({{Write(kOk), Close()}});
  THttpCli cli;
  cli.SetURL(server.Base() + "/");
  int busyCode = 0;
  std::string busyText;
  const auto o = test::RunHttp(cli, [&] {
    cli.Get();
    try {
      cli.Get();
    } catch (const THttpCliError& e) {
      busyCode = e.Code();
      busyText = e.what();
    }
  });
  EXPECT_EQ(busyCode, http_error::kBusy);
  EXPECT_EQ(busyText, "HTTP component is busy");
  // The first request went on unchanged.
  ASSERT_TRUE(o.finished);
  EXPECT_EQ(o.dones, 1);
  EXPECT_EQ(o.body, "body");
  EXPECT_EQ(server.Connections(), 1);

  THttpCli post;
  post.SetURL(server.Base() + "/");
  try {
    post.Post();
    ADD_FAILURE() << "a POST without a body stream started";
  } catch (const THttpCliError& e) {
    EXPECT_EQ(e.Code(), http_error::kNothingToPost);
    EXPECT_STREQ(e.what(), "HTTP component has nothing to post");
  }
  EXPECT_EQ(post.State(), THttpState::Ready);
}

TEST(HttpStart, LineBreaksInHeaderValuesAreRefused) {
  struct Case {
    const char* name;
    std::function<void(THttpCli&, const std::string& base)> set;
  };
  const std::vector<Case> cases = {
      {"URL", [](THttpCli& c, const std::string& b) { c.SetURL(b + "/a\r\nX-Evil: 1"); }},
      {"URL with a bare LF", [](THttpCli& c, const std::string& b) { c.SetURL(b + "/a\nb"); }},
      {"Referer", [](THttpCli& c, const std::string&) { c.SetReference("r\r\nX: 1"); }},
      {"Agent", [](THttpCli& c, const std::string&) { c.SetAgent("a\rb"); }},
      {"Cookie", [](THttpCli& c, const std::string&) { c.SetCookie("k=v\n"); }},
      {"Proxy", [](THttpCli& c, const std::string&) { c.SetProxy("127.0.0.1\r\n"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptServer server({{Write(kOk), Close()}});
    THttpCli cli;
    cli.SetURL(server.Base() + "/");
    c.set(cli, server.Base());
    const auto o = test::RunHttp(cli, [&] { cli.Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.events, "Done(5)");
    EXPECT_EQ(cli.StatusCode(), 404);
    EXPECT_EQ(server.Connections(), 0);
  }
}

TEST(HttpStart, AddressesThisClientCannotSpeakToFailWithoutAConnection) {
  ScriptServer server({{Write(kOk), Close()}, {Write(kOk), Close()}});
  const std::string hostPort = server.Base().substr(server.Base().find("://") + 3);
  struct Case {
    std::string url;
    int error;
  } cases[] = {
      {"ftp://" + hostPort + "/", http_error::kUnsupportedScheme},
      {"gopher://" + hostPort + "/", http_error::kUnsupportedScheme},
      {"http://" + hostPort + "/", 0},
      {hostPort + "/", 0},  // no scheme: http
  };
  int connections = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    THttpCli cli;
    cli.SetURL(c.url);
    const auto o = test::RunHttp(cli, [&] { cli.Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.error, c.error);
    if (c.error) {
      EXPECT_EQ(cli.StatusCode(), 404);
      EXPECT_EQ(server.Connections(), connections);
    } else {
      EXPECT_EQ(cli.StatusCode(), 200);
      EXPECT_EQ(server.Connections(), ++connections);
    }
  }
}

TEST(HttpStart, StatesOfARequestInOrder) {
  ScriptServer server({{Write(kOk), Close()}});
  THttpCli cli;
  std::vector<std::string> states;
  cli.OnStateChange = [&](THttpCli& c) { states.push_back(StateName(c.State())); };
  cli.SetURL("http://localhost:" + std::to_string(server.Port()) + "/");
  const auto o = test::RunHttp(cli, [&] { cli.Get(); });
  ASSERT_TRUE(o.finished);
  EXPECT_EQ(o.error, 0);
  EXPECT_EQ(states, (std::vector<std::string>{"NotConnected", "DnsLookup", "DnsLookupDone",
                                              "Connected", "WaitingHeader", "WaitingBody",
                                              "Ready"}));
}

TEST(HttpFailure, EachFailureEndsWithItsResult) {
  QTcpServer probe;  // a port on which nothing listens
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const std::string closedPort = std::to_string(probe.serverPort());
  probe.close();

  struct Case {
    const char* name;
    std::string url;
    std::function<void(FakeSocket&, THttpCli&)> setup;  // null: the real socket
    std::string reason;
    int error;
  };
  const std::vector<Case> cases = {
      {"host name not resolved", "http://no.such.host/",
       [](FakeSocket& s, THttpCli&) { s.lookupError = socket_error::kHostNotFound; },
       "can't resolve hostname to IP address", socket_error::kHostNotFound},
      {"empty host name", "http:///path", [](FakeSocket&, THttpCli&) {},
       "DNS lookup: invalid host name.", 0},
      {"connection cannot be set up", "http://h/",
       [](FakeSocket& s, THttpCli&) { s.connectError = socket_error::kAddressNotAvailable; },
       "can't connect: Cannot assign requested address (Error #10049)",
       socket_error::kAddressNotAvailable},
      {"connection fails while connecting", "http://h/",
       [](FakeSocket& s, THttpCli&) { s.connectEventError = socket_error::kTimedOut; },
       "Connection timed out (Error #10060)", socket_error::kTimedOut},
      {"refused by the real peer", "http://127.0.0.1:" + closedPort + "/", nullptr,
       "Connection refused (Error #10061)", socket_error::kConnectionRefused},
      {"not a port", "http://127.0.0.1:99999/", nullptr,
       "can't connect: Invalid argument (Error #10022)", socket_error::kInvalidArgument},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto socket = std::make_unique<FakeSocket>();
    FakeSocket* fake = socket.get();
    std::unique_ptr<THttpCli> cli =
        c.setup ? std::make_unique<THttpCli>(std::move(socket)) : std::make_unique<THttpCli>();
    if (c.setup) c.setup(*fake, *cli);
    cli->SetURL(c.url);
    const auto o = test::RunHttp(*cli, [&] { cli->Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.events, "Done(" + std::to_string(c.error) + ")");
    EXPECT_EQ(cli->StatusCode(), 404);
    EXPECT_EQ(cli->ReasonPhrase(), c.reason);
    if (c.url == "http:///path") EXPECT_TRUE(fake->lookups.empty());
  }

  // A local address that is none, on the real socket.
  THttpCli bound;
  bound.SetLocalAddr("not-an-address");
  bound.SetURL("http://127.0.0.1:" + closedPort + "/");
  const auto o = test::RunHttp(bound, [&] { bound.Get(); });
  ASSERT_TRUE(o.finished);
  EXPECT_EQ(bound.ReasonPhrase(), "can't connect: Cannot assign requested address (Error #10049)");
}

TEST(HttpFailure, SocketErrorDescriptions) {
  const std::vector<std::pair<int, std::string>> cases = {
      {0, "No Error"},
      {10061, "Connection refused"},
      {10060, "Connection timed out"},
      {11001, "Host not found"},
      {10051, "Network is unreachable"},
      {10054, "Connection reset by peer"},
      {10065, "No route to host"},
      {12345, "Not a WinSock error"},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(SocketErrorDesc(code), text) << code;
}

TEST(HttpAbort, InEveryState) {
  // Ready: nothing happens, no OnRequestDone.
  {
    THttpCli cli;
    const auto o = test::RunHttp(cli, [&] { cli.Abort(); }, 200);
    EXPECT_FALSE(o.finished);
    EXPECT_EQ(cli.StatusCode(), 0);
  }
  // While the host name is being resolved: the lookup is cancelled.
  {
    auto socket = std::make_unique<FakeSocket>();
    FakeSocket* fake = socket.get();
    fake->holdLookups = true;
    THttpCli cli(std::move(socket));
    cli.SetURL("http://slow.lookup.test/");
    std::vector<std::string> states;
    cli.OnStateChange = [&](THttpCli& c) { states.push_back(StateName(c.State())); };
    int donesInsideAbort = -1;
    const auto o = test::RunHttp(cli, [&] {
      cli.Get();
      ASSERT_EQ(cli.State(), THttpState::DnsLookup);
      cli.Abort();
      donesInsideAbort = 0;
      fake->AnswerLookup();  // an answer after the abort changes nothing
    });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(donesInsideAbort, 0);
    EXPECT_EQ(o.events, "Done(3)");
    EXPECT_EQ(cli.StatusCode(), 404);
    EXPECT_EQ(cli.ReasonPhrase(), "Connection aborted on request");
    EXPECT_EQ(states, (std::vector<std::string>{"NotConnected", "DnsLookup", "Aborting", "Ready"}));
  }
  // In the header end, as the submission run does: status seen, then aborted.
  {
    ScriptServer server({{Write("HTTP/1.1 201 Created\r\nX: y\r\n\r\nbody"), Hang()}});
    THttpCli cli;
    cli.SetURL(server.Base() + "/");
    int statusAtHeaderEnd = 0;
    cli.OnHeaderEnd = [&](THttpCli& c) {
      statusAtHeaderEnd = c.StatusCode();
      c.Abort();
    };
    const auto o = test::RunHttp(cli, [&] { cli.Get(); });
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(statusAtHeaderEnd, 201);
    EXPECT_EQ(o.events, "HeaderBegin HeaderData HeaderData HeaderEnd Done(3)");
    EXPECT_EQ(cli.StatusCode(), 404);
  }
}

TEST(HttpHandlers, MayRestartOrDestroyTheClient) {
  ScriptServer server({{Write(kOk), Close()}});
  // Restarted from its OnRequestDone: the second request runs and ends once.
  {
    THttpCli cli;
    cli.SetURL(server.Base() + "/1");
    int dones = 0;
    cli.OnRequestDone = [&](THttpCli& c, THttpRequest, int) {
      if (++dones == 1) {
        c.SetURL(server.Base() + "/2");
        c.Get();
      }
    };
    cli.Get();
    ASSERT_TRUE(test::RunUntil([&] { return dones == 2; }));
    EXPECT_EQ(server.Connections(), 2);
  }
  // Destroyed from OnRequestDone, from OnHeaderData and from OnDocData: nothing more comes.
  for (const char* where : {"done", "header", "doc"}) {
    SCOPED_TRACE(where);
    auto* cli = new THttpCli;
    bool gone = false;
    int events = 0;
    auto destroy = [&](THttpCli& c) {
      delete &c;
      gone = true;
    };
    cli->OnRequestDone = [&](THttpCli& c, THttpRequest, int) {
      ++events;
      if (std::string(where) == "done") destroy(c);
    };
    cli->OnHeaderData = [&](THttpCli& c) {
      if (std::string(where) == "header") destroy(c);
    };
    cli->OnDocData = [&](THttpCli& c, const char*, int) {
      if (std::string(where) == "doc") destroy(c);
    };
    cli->SetURL(server.Base() + "/");
    cli->Get();
    ASSERT_TRUE(test::RunUntil([&] { return gone; }));
    test::RunUntil([] { return false; }, 100);
    EXPECT_EQ(events, std::string(where) == "done" ? 1 : 0);
  }
}

TEST(HttpPost, BodyGoesInPiecesEachAfterThePreviousWasSent) {
  auto socket = std::make_unique<FakeSocket>();
  FakeSocket* fake = socket.get();
  THttpCli cli(std::move(socket));
  QBuffer body;
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += static_cast<char>('a' + i % 26);
  body.setData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  body.open(QIODevice::ReadOnly);
  cli.SetSendStream(&body);
  cli.SetURL("http://h/post");
  cli.Post();
  ASSERT_TRUE(test::RunUntil([&] { return fake->sent.size() == 4; }));
  fake->Feed("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n");
  bool done = false;
  cli.OnRequestDone = [&](THttpCli&, THttpRequest, int) { done = true; };
  ASSERT_TRUE(test::RunUntil([&] { return done; }));
  ASSERT_EQ(fake->sent.size(), 4u);
  EXPECT_EQ(fake->sent[0].substr(0, 16), "POST /post HTTP/");
  EXPECT_EQ(fake->sent[1].size(), 8193u);
  EXPECT_EQ(fake->sent[2].size(), 8193u);
  EXPECT_EQ(fake->sent[3].size(), 20000u - 2 * 8193u);
  EXPECT_EQ(fake->sent[1] + fake->sent[2] + fake->sent[3], bytes);
  EXPECT_EQ(fake->sendsBeforeSentEvent, 0);
}

}  // namespace
}  // namespace qs
