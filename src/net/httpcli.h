// The asynchronous HTTP/1.0 client every network feature goes through, for http:// and
// https:// addresses alike.
//
// A request is started with Get() or Post() and the call returns at once; name resolution,
// connection, each header line, each piece of the body and the end arrive later as events
// from the event loop. One request at a time per client; every request uses a connection of
// its own, which the server closes after the answer. OnRequestDone comes exactly once per
// started request, always from the event loop, so its handler may start the client again or
// destroy it.
//
// An https:// request is the same request inside TLS: the client checks the server's
// certificate (see tlstrust.h) before anything is sent, and raises the same events in the
// same order as for a plain request. Through a proxy it first asks for a tunnel with
// CONNECT. A TLS failure ends the request like any other failure: status 404, the failure
// in the reason phrase, and one of the kTls codes as the error.
#pragma once

#include <QDateTime>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "net/httpurl.h"
#include "net/wsocket.h"

class QIODevice;

namespace qs {

enum class THttpRequest { Get, Post, Head };

enum class THttpState {
  Ready,
  NotConnected,
  Connected,
  DnsLookup,
  DnsLookupDone,
  WaitingHeader,
  WaitingBody,
  Aborting,
};

// The client's own error codes (OnRequestDone's Error, and THttpCliError's code). Socket
// error codes (socket_error) are 10000 and above.
namespace http_error {
inline constexpr int kBusy = 1;             // "HTTP component is busy"
inline constexpr int kNothingToPost = 2;    // "HTTP component has nothing to post"
inline constexpr int kAborted = 3;          // "Connection aborted on request"
inline constexpr int kLineTooLong = 4;      // "HTTP line too long"
inline constexpr int kRefused = 5;          // a line break in the address or a header value
inline constexpr int kTooManyRelocations = 6;
inline constexpr int kReceiveLimit = 7;     // the receive stream reached its limit
inline constexpr int kHeaderTooLong = 8;    // the header as a whole is too long
inline constexpr int kUnsupportedScheme = 9;  // an address this client cannot speak to
// "TLS: certificate not trusted for <host>"
inline constexpr int kTlsUntrusted = tls_error::kUntrusted;
// "TLS: certificate does not name <host>"
inline constexpr int kTlsHostMismatch = tls_error::kHostMismatch;
// "TLS: certificate expired or not yet valid for <host>"
inline constexpr int kTlsExpired = tls_error::kExpired;
// "TLS: handshake failed with <host>: <what the TLS layer said>"
inline constexpr int kTlsHandshake = tls_error::kHandshake;
// "TLS: <host> closed the connection during the handshake"
inline constexpr int kTlsClosed = tls_error::kClosed;
// TLS is not available, or the trusted certificates file cannot be read or holds none
inline constexpr int kTlsSetup = 15;
}  // namespace http_error

// A request that cannot be started (busy, nothing to post). Nothing else is ever thrown.
class THttpCliError : public std::runtime_error {
 public:
  THttpCliError(int code, const std::string& text) : std::runtime_error(text), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

class THttpCli {
 public:
  static constexpr size_t kLineBufferSize = 8192;
  static constexpr size_t kSendPieceSize = 8193;
  // Relocations followed within one started request; the next one ends it with
  // kTooManyRelocations (a server that relocates to itself would otherwise never end).
  static constexpr int kMaxRelocations = 20;
  // All header lines of one answer together; a header that never ends stops here.
  static constexpr size_t kMaxHeaderBytes = 256 * 1024;

  // `socket` replaces the network socket (tests, fuzzing); none gives a TWSocket.
  explicit THttpCli(std::unique_ptr<TWSocket> socket = nullptr);
  ~THttpCli();
  THttpCli(const THttpCli&) = delete;
  THttpCli& operator=(const THttpCli&) = delete;

  // Operations. Both throw THttpCliError when the request cannot be started.
  void Get();
  void Post();
  void Head();
  void Abort();

  // Request properties.
  const std::string& URL() const { return url_; }
  void SetURL(std::string v) { url_ = std::move(v); }
  const std::string& Proxy() const { return proxy_; }
  void SetProxy(std::string v) { proxy_ = std::move(v); }
  const std::string& ProxyPort() const { return proxyPort_; }
  void SetProxyPort(std::string v) { proxyPort_ = std::move(v); }
  const std::string& ProxyUsername() const { return proxyUsername_; }
  void SetProxyUsername(std::string v) { proxyUsername_ = std::move(v); }
  const std::string& ProxyPassword() const { return proxyPassword_; }
  void SetProxyPassword(std::string v) { proxyPassword_ = std::move(v); }
  const std::string& Username() const { return username_; }
  void SetUsername(std::string v) { username_ = std::move(v); }
  const std::string& Password() const { return password_; }
  void SetPassword(std::string v) { password_ = std::move(v); }
  const std::string& Agent() const { return agent_; }
  void SetAgent(std::string v) { agent_ = std::move(v); }
  const std::string& Accept() const { return accept_; }
  void SetAccept(std::string v) { accept_ = std::move(v); }
  const std::string& Reference() const { return reference_; }
  void SetReference(std::string v) { reference_ = std::move(v); }
  const std::string& AcceptLanguage() const { return acceptLanguage_; }
  void SetAcceptLanguage(std::string v) { acceptLanguage_ = std::move(v); }
  const std::string& ContentTypePost() const { return contentTypePost_; }
  void SetContentTypePost(std::string v) { contentTypePost_ = std::move(v); }
  bool NoCache() const { return noCache_; }
  void SetNoCache(bool v) { noCache_ = v; }
  const std::string& Cookie() const { return cookie_; }
  void SetCookie(std::string v) { cookie_ = std::move(v); }
  const std::optional<QDateTime>& ModifiedSince() const { return modifiedSince_; }
  void SetModifiedSince(std::optional<QDateTime> v) { modifiedSince_ = std::move(v); }
  const std::string& LocalAddr() const { return localAddr_; }
  void SetLocalAddr(std::string v) { localAddr_ = std::move(v); }
  const std::string& Sender() const { return sender_; }
  void SetSender(std::string v) { sender_ = std::move(v); }
  // The POST body, read from its current position to its end. Not owned.
  QIODevice* SendStream() const { return sendStream_; }
  void SetSendStream(QIODevice* v) { sendStream_ = v; }
  // Every body byte received is appended here, up to RcvdStreamLimit() bytes in total for
  // the request; one byte more ends the request with kReceiveLimit. Not owned.
  QIODevice* RcvdStream() const { return rcvdStream_; }
  void SetRcvdStream(QIODevice* v) { rcvdStream_ = v; }
  int64_t RcvdStreamLimit() const { return rcvdStreamLimit_; }
  void SetRcvdStreamLimit(int64_t v) { rcvdStreamLimit_ = v; }
  int Tag() const { return tag_; }
  void SetTag(int v) { tag_ = v; }

  // The four proxy values, as every new submission client takes them from HttpSubmit.
  void CopyProxyFrom(const THttpCli& other);

  // Results, valid from when they are received until the next request starts.
  int StatusCode() const { return statusCode_; }
  const std::string& ReasonPhrase() const { return reasonPhrase_; }
  const std::vector<std::string>& RcvdHeader() const { return rcvdHeader_; }
  int64_t ContentLength() const { return contentLength_; }
  const std::string& ContentType() const { return contentType_; }
  int64_t RcvdCount() const { return rcvdCount_; }
  const std::string& Location() const { return location_; }
  THttpState State() const { return state_; }
  THttpRequest RequestType() const { return requestType_; }

  // Events.
  std::function<void(THttpCli&)> OnStateChange;
  std::function<void(THttpCli&)> OnSessionConnected;
  std::function<void(THttpCli&)> OnHeaderBegin;
  std::function<void(THttpCli&)> OnHeaderData;
  std::function<void(THttpCli&)> OnHeaderEnd;
  std::function<void(THttpCli&)> OnLocationChange;
  std::function<void(THttpCli&, const std::string& data, bool& accept)> OnCookie;
  std::function<void(THttpCli&)> OnDocBegin;
  std::function<void(THttpCli&, const char* buffer, int len)> OnDocData;
  std::function<void(THttpCli&)> OnDocEnd;
  std::function<void(THttpCli&, THttpRequest rqType, int error)> OnRequestDone;

 private:
  void Start(THttpRequest kind);
  void BeginConnection();
  std::string BuildRequestHeader() const;
  // Each returns false when the request ended, a new one started or the client was
  // destroyed inside an event handler; the caller must then return without touching it.
  bool SetState(THttpState state);
  bool Fire(const std::function<void(THttpCli&)>& event);
  bool Going(const std::weak_ptr<int>& alive, uint64_t id) const;
  void EndRequest(int error);
  void Fail(int error, const std::string& reason);
  bool RefusedValues() const;

  void SocketDnsLookupDone(int error);
  void SocketSessionConnected(int error);
  void SocketDataAvailable();
  void SocketDataSent();
  void SocketSessionClosed(int error);
  void SocketTlsDone(int error, const std::string& detail);

  bool Encrypted() const { return target_.scheme == "https"; }
  void SendRequest();
  std::string BuildConnectRequest() const;
  size_t ReadIntoLineBuffer();
  bool TakeTunnelAnswer();
  void StartHandshake();

  bool TakeHeaderBytes();
  bool HeaderLine(std::string_view line, std::string_view raw);
  bool HeaderComplete();
  bool HtmlWithoutHeader(std::string_view first);
  bool DeliverBody(const char* data, size_t length);
  void FollowRelocation();
  void ClearResults();

  std::unique_ptr<TWSocket> socket_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  uint64_t requestId_ = 0;

  std::string url_, proxy_, proxyPort_ = "80", proxyUsername_, proxyPassword_;
  std::string username_, password_;
  std::string agent_ = "Mozilla/3.0 (compatible)";
  std::string accept_ = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
  std::string reference_, acceptLanguage_;
  std::string contentTypePost_ = "application/x-www-form-urlencoded";
  bool noCache_ = false;
  std::string cookie_;
  std::optional<QDateTime> modifiedSince_;
  std::string localAddr_ = "0.0.0.0";
  std::string sender_;
  QIODevice* sendStream_ = nullptr;
  QIODevice* rcvdStream_ = nullptr;
  int64_t rcvdStreamLimit_ = 4 * 1024 * 1024;
  int tag_ = 0;

  int statusCode_ = 0;
  std::string reasonPhrase_;
  std::vector<std::string> rcvdHeader_;
  int64_t contentLength_ = -1;
  std::string contentType_;
  int64_t rcvdCount_ = 0;
  std::string location_;
  THttpState state_ = THttpState::Ready;
  THttpRequest requestType_ = THttpRequest::Get;

  // The request under way.
  // How far the connection to the server has come: for https through a proxy, the tunnel
  // is asked for first, then the handshake; a plain connection is ready at once.
  enum class TLink { Plain, Tunnel, Handshake, Secure };
  TLink link_ = TLink::Plain;
  bool tunnelAnswer_ = false;  // the answer being read is the proxy's refusal of CONNECT
  bool tunnelStatusSeen_ = false;
  QSslConfiguration tlsConfig_;
  THttpUrl target_;
  std::string requestUser_, requestPassword_;  // credentials of this request only
  std::string connectHost_;
  unsigned connectPort_ = 80;
  bool relocationNoted_ = false;
  THttpUrl relocation_;
  int relocations_ = 0;
  bool headerBegun_ = false;
  bool headerEnded_ = false;
  bool docBegun_ = false;
  bool closing_ = false;  // the client closed the connection itself
  size_t headerBytes_ = 0;
  std::string line_;      // the line buffer, at most kLineBufferSize bytes
  size_t lineStart_ = 0;  // bytes of line_ already taken
  std::string piece_;     // the body piece being sent, or a body piece being delivered
  bool sendingBody_ = false;
};

}  // namespace qs
