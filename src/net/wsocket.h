// The non-blocking TCP socket under the HTTP client: asynchronous host-name lookup,
// connection, sending and receiving, and a TLS handshake on the open connection, each
// reported as an event from the event loop.
//
// Every operation is virtual so that a scripted stand-in can take the socket's place where a
// test or a fuzz run drives the client without a network.
#pragma once

#include <QObject>
#include <QSslConfiguration>
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

// How a TLS handshake failed (OnTlsDone's code). They continue the HTTP client's own codes,
// which report them unchanged.
namespace tls_error {
inline constexpr int kUntrusted = 10;     // no trusted issuer, self-signed, rejected
inline constexpr int kHostMismatch = 11;  // the certificate names another host
inline constexpr int kExpired = 12;       // expired, or not valid yet
inline constexpr int kHandshake = 13;     // any other failure of the handshake
inline constexpr int kClosed = 14;        // the peer closed the connection during it
}  // namespace tls_error

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

  // When true, the next Connect() makes a connection that StartTls() can encrypt; a plain
  // connection is made otherwise.
  void SetTlsCapable(bool capable) { tlsCapable_ = capable; }
  // Starts a TLS client handshake on the open connection: SNI and host-name check with
  // `peerName`, trust and protocols from `config`. OnTlsDone follows with 0 once the
  // connection is encrypted (data events then carry the decrypted bytes), or with a
  // tls_error code and the TLS layer's text, after which the connection is closed and no
  // other event follows.
  virtual void StartTls(const std::string& peerName, const QSslConfiguration& config);

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
  std::function<void(int error, const std::string& detail)> OnTlsDone;

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
  void WireTls();
  void HandshakeEnded();

  QObject context_;  // receiver of the Qt socket's signals
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  QTcpSocket* socket_ = nullptr;
  TSocketState state_ = TSocketState::Closed;
  std::string dnsResult_;
  int lookupId_ = -1;
  int lastError_ = 0;
  bool tlsCapable_ = false;
  bool handshaking_ = false;
  int tlsError_ = 0;         // the first certificate failure reported in the handshake
  std::string tlsDetail_;    // its text, or the TLS layer's last error text
  bool peerClosed_ = false;  // the peer ended the connection
  uint64_t generation_ = 0;  // raised by every Close/Abort so stale queued events are dropped
};

}  // namespace qs
