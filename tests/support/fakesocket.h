// A socket without a network, for driving THttpCli from a test or a fuzz run: lookups,
// connections and the peer's bytes are whatever the driver says, and everything the client
// sends is recorded. Events come from the event loop, as from the real socket.
#pragma once

#include <string>
#include <vector>

#include "net/wsocket.h"

namespace qs::test {

class FakeSocket : public TWSocket {
 public:
  // What the next lookup answers: an error code, or 0 with `lookupAddress`. With
  // `holdLookups` a lookup stays under way until AnswerLookup().
  int lookupError = 0;
  std::string lookupAddress = "192.0.2.1";
  bool holdLookups = false;
  int connectError = 0;         // returned by Connect()
  int connectEventError = 0;    // reported by OnSessionConnected

  int tlsError = 0;             // reported by OnTlsDone; 0: the handshake succeeds
  std::vector<std::string> tlsPeers;  // the peer name of every handshake started

  int connects = 0;                  // Connect() calls that began a connection
  std::vector<uint16_t> ports;       // the port of every Connect()
  std::vector<std::string> lookups;  // every host name looked up
  std::vector<std::string> sent;     // every Send(), in order
  int sendsBeforeSentEvent = 0;      // Send() calls made while an earlier one was unconfirmed

  void AnswerLookup();
  // The peer's bytes arrive / the peer closes the connection.
  void Feed(std::string bytes);
  void PeerClose(int error = 0);

  void DnsLookup(const std::string& host) override;
  void CancelDnsLookup() override;
  int Connect(const std::string& address, uint16_t port, const std::string& localAddr) override;
  // The handshake takes no bytes: after a success the connection goes on as before.
  void StartTls(const std::string& peerName, const QSslConfiguration& config) override;
  void Send(const char* data, size_t length) override;
  int64_t BytesAvailable() const override { return static_cast<int64_t>(incoming_.size()); }
  size_t Receive(char* target, size_t capacity) override;
  void Close() override;
  void Abort() override;
  TSocketState State() const override { return state_; }

 private:
  TSocketState state_ = TSocketState::Closed;
  std::string incoming_;
  int unconfirmed_ = 0;
};

}  // namespace qs::test
