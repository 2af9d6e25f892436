// The non-blocking TCP socket under the HTTP client: asynchronous host-name lookup,
// connection, sending and receiving, each reported as an event from the event loop.
//
// Every operation is virtual so that a scripted stand-in can take the socket's place where a
// test or a fuzz run drives the client without a network.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QTcpSocket;

namespace qs {

// Socket error codes. The numbers are those of the classic socket library the program's
// messages were written for ("Error #10061"), so a message reads the same on every platform.
namespace socket_error {
inline constexpr int kNone = 0;
inline constexpr int kAccess = 10013;
inline constexpr int kInvalidArgument = 10022;
inline constexpr int kAddressFamily = 10047;
inline constexpr int kAddressInUse = 10048;
inline constexpr int kAddressNotAvailable = 10049;
inline constexpr int kNetworkDown = 10050;
inline constexpr int kNetworkUnreachable = 10051;
inline constexpr int kConnectionAborted = 10053;
inline constexpr int kConnectionReset = 10054;
inline constexpr int kNoBufferSpace = 10055;
inline constexpr int kTimedOut = 10060;
inline constexpr int kConnectionRefused = 10061;
inline constexpr int kHostUnreachable = 10065;
inline constexpr int kHostNotFound = 11001;
}  // namespace socket_error

// "Connection refused", "Host not found", ...; "No Error" for 0 and "Not a WinSock error" for
// a code without a text.
std::string SocketErrorDesc(int code);

enum class TSocketState { Closed, DnsLookup, Connecting, Connected };

class TWSocket {
 public:
  TWSocket();
  virtual ~TWSocket();
  TWSocket(const TWSocket&) = delete;
  TWSocket& operator=(const TWSocket&) = delete;

  // Starts resolving `host`; OnDnsLookupDone follows with 0 and DnsResult() set, or with an
  // error code. A dotted IPv4 address needs no lookup (the event still comes queued).
  virtual void DnsLookup(const std::string& host);
  virtual void CancelDnsLookup();
  const std::string& DnsResult() const { return dnsResult_; }

  // Starts a connection to `address` (a numeric address) and `port`, bound to `localAddr`
  // ("0.0.0.0" or empty: any). Returns 0 when the attempt began, after which
  // OnSessionConnected reports the outcome; otherwise the error code, and no event follows.
  virtual int Connect(const std::string& address, uint16_t port, const std::string& localAddr);

  // Queues bytes; OnDataSent follows once everything queued has gone to the system.
  virtual void Send(const char* data, size_t length);
  // Bytes ready to be read, and reading up to `capacity` of them.
  virtual int64_t BytesAvailable() const;
  virtual size_t Receive(char* target, size_t capacity);

  // Ends the connection at once. Anything not yet read is dropped; OnSessionClosed follows
  // from the event loop when a connection was open or being set up.
  virtual void Close();
  // Ends the connection and the lookup at once; no event follows.
  virtual void Abort();

  virtual TSocketState State() const { return state_; }

  std::function<void(int error)> OnDnsLookupDone;
  std::function<void(int error)> OnSessionConnected;
  std::function<void()> OnDataAvailable;
  std::function<void()> OnDataSent;
  std::function<void(int error)> OnSessionClosed;

 protected:
  // Runs `what` from the event loop, unless the socket is gone or Abort() came first.
  void Queue(std::function<void()> what);
  void SetState(TSocketState state) { state_ = state; }
  void SetDnsResult(std::string address) { dnsResult_ = std::move(address); }
  // Expires when the socket is destroyed (an event handler may destroy its owner).
  std::weak_ptr<int> Liveness() const { return alive_; }

 private:
  void DropSocket();
  void Wire();

  QObject context_;  // receiver of the Qt socket's signals
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  QTcpSocket* socket_ = nullptr;
  TSocketState state_ = TSocketState::Closed;
  std::string dnsResult_;
  int lookupId_ = -1;
  int lastError_ = 0;
  uint64_t generation_ = 0;  // raised by every Close/Abort so stale queued events are dropped
};

}  // namespace qs
