// Arbitrary answer bytes, delivered in pieces of sizes the input chooses, to a client on a
// socket without a network. Every run must end in exactly one OnRequestDone with the
// header and the line buffer within their bounds.
//
// The same bytes answer whatever the client says next: a request, or, for https through
// a proxy, the CONNECT request (so they are the proxy's answer first, then, once the tunnel
// and the handshake stand, the server's).
#include <QBuffer>
#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "net/httpcli.h"
#include "support/fakesocket.h"

namespace {

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "fuzz_httpanswer";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  App();
  if (size < 2) return 0;
  // First byte: options (POST, proxy, receive stream, abort in the header end, https, a
  // failing handshake); second byte: the seed of the piece sizes. The rest is the answer.
  const uint8_t options = data[0];
  uint32_t seed = data[1] + 1;
  std::string answer(reinterpret_cast<const char*>(data + 2), size - 2);

  auto socket = std::make_unique<qs::test::FakeSocket>();
  qs::test::FakeSocket* fake = socket.get();
  qs::THttpCli cli(std::move(socket));
  QBuffer body;
  body.setData("a=1&b=2");
  body.open(QIODevice::ReadOnly);
  QBuffer sink;
  sink.open(QIODevice::WriteOnly);
  cli.SetSendStream(&body);
  cli.SetURL(options & 16 ? "https://site.test/dir/page?x=1" : "http://site.test/dir/page?x=1");
  if (options & 32) fake->tlsError = qs::tls_error::kHandshake;
  if (options & 2) cli.SetProxy("proxy.test:3128");
  if (options & 4) {
    cli.SetRcvdStream(&sink);
    cli.SetRcvdStreamLimit(4096);
  }
  if (options & 8) cli.OnHeaderEnd = [](qs::THttpCli& c) { c.Abort(); };
  int dones = 0;
  cli.OnRequestDone = [&](qs::THttpCli&, qs::THttpRequest, int) { ++dones; };
  if (options & 1) cli.Post(); else cli.Get();
  int rounds = 0;
  // A new connection or a finished handshake, once the client has sent something on it, is
  // answered; the peer closes when the client then says nothing more.
  size_t fedMarks = 0, sentSeen = 0;
  int idle = 0;
  bool open = false;
  while (dones == 0 && rounds < 10000) {
    ++rounds;
    QCoreApplication::processEvents();
    const size_t marks = static_cast<size_t>(fake->connects) + fake->tlsPeers.size();
    if (fake->State() == qs::TSocketState::Connected && marks > fedMarks &&
        fake->sent.size() > sentSeen) {
      fedMarks = marks;
      sentSeen = fake->sent.size();
      for (size_t at = 0; at < answer.size();) {
        seed = seed * 1103515245u + 12345u;
        const size_t piece = 1 + (seed >> 16) % 700;
        fake->Feed(answer.substr(at, piece));
        at += piece;
      }
      open = true;
      idle = 0;
    } else if (open && ++idle > 3) {
      fake->PeerClose();
      open = false;
    }
  }
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  Check(dones == 1);
  Check(cli.State() == qs::THttpState::Ready);
  size_t headerBytes = 0;
  for (const auto& line : cli.RcvdHeader()) {
    Check(line.size() < qs::THttpCli::kLineBufferSize);
    headerBytes += line.size();
  }
  Check(headerBytes <= qs::THttpCli::kMaxHeaderBytes);
  Check(sink.data().size() <= 4096);
  return 0;
}
