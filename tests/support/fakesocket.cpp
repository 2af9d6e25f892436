#include "support/fakesocket.h"

#include <algorithm>
#include <cstring>

namespace qs::test {

void FakeSocket::DnsLookup(const std::string& host) {
  lookups.push_back(host);
  state_ = TSocketState::DnsLookup;
  if (!holdLookups) AnswerLookup();
}

void FakeSocket::AnswerLookup() {
  Queue([this] {
    if (state_ != TSocketState::DnsLookup) return;
    state_ = TSocketState::Closed;
    SetDnsResult(lookupError ? std::string() : lookupAddress);
    if (OnDnsLookupDone) OnDnsLookupDone(lookupError);
  });
}

void FakeSocket::CancelDnsLookup() {
  if (state_ == TSocketState::DnsLookup) TWSocket::Abort();
  state_ = TSocketState::Closed;
}

int FakeSocket::Connect(const std::string&, uint16_t port, const std::string&) {
  ports.push_back(port);
  if (connectError) return connectError;
  ++connects;
  state_ = TSocketState::Connecting;
  incoming_.clear();
  Queue([this] {
    if (state_ != TSocketState::Connecting) return;
    state_ = connectEventError ? TSocketState::Closed : TSocketState::Connected;
    if (OnSessionConnected) OnSessionConnected(connectEventError);
  });
  return 0;
}

void FakeSocket::StartTls(const std::string& peerName, const QSslConfiguration&) {
  tlsPeers.push_back(peerName);
  Queue([this] {
    if (state_ != TSocketState::Connected) return;
    if (tlsError) state_ = TSocketState::Closed;
    if (OnTlsDone) OnTlsDone(tlsError, tlsError ? "scripted failure" : "");
  });
}

void FakeSocket::Send(const char* data, size_t length) {
  if (state_ != TSocketState::Connected) return;
  if (unconfirmed_ > 0) ++sendsBeforeSentEvent;
  ++unconfirmed_;
  sent.emplace_back(data, length);
  Queue([this] {
    --unconfirmed_;
    if (state_ == TSocketState::Connected && OnDataSent) OnDataSent();
  });
}

void FakeSocket::Feed(std::string bytes) {
  Queue([this, bytes = std::move(bytes)] {
    if (state_ != TSocketState::Connected) return;
    incoming_ += bytes;
    if (OnDataAvailable) OnDataAvailable();
  });
}

void FakeSocket::PeerClose(int error) {
  Queue([this, error] {
    if (state_ != TSocketState::Connected) return;
    // Bytes not yet read are handed over before the close, as the real socket does.
    while (!incoming_.empty() && OnDataAvailable) {
      const size_t before = incoming_.size();
      const std::weak_ptr<int> alive = Liveness();
      OnDataAvailable();
      if (alive.expired()) return;
      if (state_ != TSocketState::Connected || incoming_.size() >= before) break;
    }
    if (state_ != TSocketState::Connected) return;
    state_ = TSocketState::Closed;
    if (OnSessionClosed) OnSessionClosed(error);
  });
}

size_t FakeSocket::Receive(char* target, size_t capacity) {
  const size_t n = std::min(capacity, incoming_.size());
  std::memcpy(target, incoming_.data(), n);
  incoming_.erase(0, n);
  return n;
}

void FakeSocket::Close() {
  const bool open = state_ == TSocketState::Connected || state_ == TSocketState::Connecting;
  TWSocket::Abort();
  state_ = TSocketState::Closed;
  incoming_.clear();
  unconfirmed_ = 0;
  if (open) {
    Queue([this] {
      if (OnSessionClosed) OnSessionClosed(0);
    });
  }
}

void FakeSocket::Abort() {
  TWSocket::Abort();
  state_ = TSocketState::Closed;
  incoming_.clear();
  unconfirmed_ = 0;
}

}  // namespace qs::test
