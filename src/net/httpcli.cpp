#include "net/httpcli.h"

#include <QByteArray>
#include <algorithm>
#include <cstdio>
#include <QIODevice>
#include <QTimeZone>

#include "app/text.h"
#include "net/queuedcall.h"
#include "net/tlstrust.h"

namespace qs {

namespace {

constexpr char kHttpLineTooLong[] = "HTTP line too long";

std::string Base64(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size())).toBase64().toStdString();
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

// "Sun, 06 Nov 1994 08:49:37", always with English names, in UTC.
std::string HttpDate(const QDateTime& when) {
  static const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const QDateTime utc = when.toUTC();
  const QDate d = utc.date();
  const QTime t = utc.time();
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d", kDays[d.dayOfWeek() - 1],
                d.day(), kMonths[d.month() - 1], d.year(), t.hour(), t.minute(), t.second());
  return text;
}

// A trimmed decimal number of at most 18 digits; -1 for anything else.
int64_t ContentLengthOf(std::string_view value) {
  while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  if (value.empty() || value.size() > 18) return -1;
  int64_t n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

// The status code of a status line ("HTTP/1.0" or "HTTP/1.1", characters 10 to 12; 0 when
// they are not three digits), or -1 for any other line.
int StatusCodeOf(std::string_view line) {
  if (line.rfind("HTTP/1.0", 0) != 0 && line.rfind("HTTP/1.1", 0) != 0) return -1;
  int code = 0;
  if (line.size() >= 12) {
    for (size_t i = 9; i < 12; ++i) {
      if (line[i] < '0' || line[i] > '9') return 0;
      code = code * 10 + (line[i] - '0');
    }
  }
  return code;
}

std::string TlsReason(int code, const std::string& host, const std::string& detail) {
  switch (code) {
    case http_error::kTlsUntrusted: return "TLS: certificate not trusted for " + host;
    case http_error::kTlsHostMismatch: return "TLS: certificate does not name " + host;
    case http_error::kTlsExpired:
      return "TLS: certificate expired or not yet valid for " + host;
    case http_error::kTlsClosed:
      return "TLS: " + host + " closed the connection during the handshake";
    default: return "TLS: handshake failed with " + host + (detail.empty() ? "" : ": " + detail);
  }
}

}  // namespace

THttpCli::THttpCli(std::unique_ptr<TWSocket> socket)
    : socket_(socket ? std::move(socket) : std::make_unique<TWSocket>()) {
  socket_->OnDnsLookupDone = [this](int error) { SocketDnsLookupDone(error); };
  socket_->OnSessionConnected = [this](int error) { SocketSessionConnected(error); };
  socket_->OnDataAvailable = [this] { SocketDataAvailable(); };
  socket_->OnDataSent = [this] { SocketDataSent(); };
  socket_->OnSessionClosed = [this](int error) { SocketSessionClosed(error); };
  socket_->OnTlsDone = [this](int error, const std::string& detail) {
    SocketTlsDone(error, detail);
  };
}

THttpCli::~THttpCli() {
  alive_.reset();
  socket_->Abort();
}

void THttpCli::CopyProxyFrom(const THttpCli& other) {
  proxy_ = other.proxy_;
  proxyPort_ = other.proxyPort_;
  proxyUsername_ = other.proxyUsername_;
  proxyPassword_ = other.proxyPassword_;
}

void THttpCli::Get() { Start(THttpRequest::Get); }
void THttpCli::Post() { Start(THttpRequest::Post); }
void THttpCli::Head() { Start(THttpRequest::Head); }

bool THttpCli::Going(const std::weak_ptr<int>& alive, uint64_t id) const {
  return !alive.expired() && requestId_ == id && state_ != THttpState::Ready &&
         state_ != THttpState::Aborting;
}

bool THttpCli::Fire(const std::function<void(THttpCli&)>& event) {
  if (!event) return true;
  const std::weak_ptr<int> alive = alive_;
  const uint64_t id = requestId_;
  auto handler = event;  // the handler may replace or destroy the original
  handler(*this);
  return Going(alive, id);
}

bool THttpCli::SetState(THttpState state) {
  state_ = state;
  return Fire(OnStateChange);
}

void THttpCli::ClearResults() {
  rcvdHeader_.clear();
  statusCode_ = 0;
  reasonPhrase_.clear();
  contentLength_ = -1;
  contentType_.clear();
}

bool THttpCli::RefusedValues() const {
  // Values that are written into the header as they are; a line break in one would end
  // its line and let the rest pass as header lines of its own.
  for (const std::string* v : {&url_, &proxy_, &proxyPort_, &agent_, &accept_, &reference_,
                               &acceptLanguage_, &contentTypePost_, &cookie_, &sender_,
                               &localAddr_}) {
    if (HasLineBreak(*v)) return true;
  }
  return false;
}

void THttpCli::Start(THttpRequest kind) {
  if (state_ != THttpState::Ready) throw THttpCliError(http_error::kBusy, "HTTP component is busy");
  if (kind == THttpRequest::Post && !sendStream_)
    throw THttpCliError(http_error::kNothingToPost, "HTTP component has nothing to post");

  ++requestId_;
  requestType_ = kind;
  ClearResults();
  rcvdCount_ = 0;
  location_ = url_;
  relocations_ = 0;
  target_ = SplitHttpUrl(url_);
  requestUser_ = target_.hasUser ? target_.user : username_;
  requestPassword_ = target_.hasUser ? target_.password : password_;

  const std::weak_ptr<int> alive = alive_;
  const uint64_t id = requestId_;
  if (!SetState(THttpState::NotConnected)) return;
  if (RefusedValues()) {
    Fail(http_error::kRefused, "Refused: a line break in the address or a header value");
    return;
  }
  // Sent directly, an address of another scheme (ftp://, ...) would go unencrypted to port
  // 80 and its answer would pass for the page's: such a request fails instead. Through a
  // proxy the absolute address is the proxy's to handle.
  if (proxy_.empty() && target_.scheme != "http" && target_.scheme != "https") {
    Fail(http_error::kUnsupportedScheme, "Unsupported address scheme: " + target_.scheme);
    return;
  }
  if (Going(alive, id)) BeginConnection();
}

void THttpCli::BeginConnection() {
  headerBegun_ = headerEnded_ = docBegun_ = closing_ = relocationNoted_ = false;
  sendingBody_ = false;
  headerBytes_ = 0;
  line_.clear();
  lineStart_ = 0;
  link_ = TLink::Plain;
  tunnelAnswer_ = tunnelStatusSeen_ = false;
  if (Encrypted()) {
    std::string problem;
    if (!ClientTlsConfiguration(tlsConfig_, problem)) {
      Fail(http_error::kTlsSetup, problem);
      return;
    }
  }
  socket_->SetTlsCapable(Encrypted());
  if (proxy_.empty()) {
    connectHost_ = target_.host;
    connectPort_ = PortNumber(target_.port, Encrypted() ? 443 : 80);
  } else {
    const size_t colon = proxy_.find(':');
    connectHost_ = proxy_.substr(0, colon);
    connectPort_ = colon == std::string::npos ? PortNumber(proxyPort_, 80)
                                              : PortNumber(proxy_.substr(colon + 1), 80);
  }
  if (connectHost_.empty()) {
    Fail(0, "DNS lookup: invalid host name.");
    return;
  }
  if (!SetState(THttpState::DnsLookup)) return;
  socket_->DnsLookup(connectHost_);
}

void THttpCli::Fail(int error, const std::string& reason) {
  // Every failure the client finds itself ends with status 404 and its own text, so no
  // caller that reads only the status code can take a cut-off answer for a good one.
  statusCode_ = 404;
  reasonPhrase_ = reason;
  EndRequest(error);
}

void THttpCli::EndRequest(int error) {
  socket_->Abort();
  sendingBody_ = false;
  closing_ = false;
  const THttpRequest kind = requestType_;
  QueueCall(alive_, [this, kind, error] {
    auto handler = OnRequestDone;
    if (handler) handler(*this, kind, error);
  });
  SetState(THttpState::Ready);
}

void THttpCli::Abort() {
  if (state_ == THttpState::Ready) {
    socket_->Abort();
    return;
  }
  if (state_ == THttpState::Aborting) return;
  const std::weak_ptr<int> alive = alive_;
  const uint64_t id = requestId_;
  state_ = THttpState::Aborting;
  socket_->Abort();  // cancels a lookup under way too
  auto handler = OnStateChange;
  if (handler) handler(*this);
  if (alive.expired() || requestId_ != id || state_ != THttpState::Aborting) return;
  Fail(http_error::kAborted, "Connection aborted on request");
}

void THttpCli::SocketDnsLookupDone(int error) {
  if (state_ != THttpState::DnsLookup) return;
  if (error != 0) {
    Fail(error, "can't resolve hostname to IP address");
    return;
  }
  if (!SetState(THttpState::DnsLookupDone)) return;
  int code = connectPort_ == 0 ? socket_error::kInvalidArgument : 0;
  if (code == 0)
    code = socket_->Connect(socket_->DnsResult(), static_cast<uint16_t>(connectPort_), localAddr_);
  if (code != 0) {
    Fail(code, "can't connect: " + SocketErrorDesc(code) + " (Error #" + std::to_string(code) + ")");
  }
}

std::string THttpCli::BuildRequestHeader() const {
  const char* method = requestType_ == THttpRequest::Post   ? "POST"
                       : requestType_ == THttpRequest::Head ? "HEAD"
                                                            : "GET";
  std::string h = method;
  h += ' ';
  // Inside a tunnel the server itself reads the request: the target is the path, and the
  // proxy's credentials went with CONNECT.
  const bool viaProxy = !proxy_.empty() && !Encrypted();
  h += viaProxy ? target_.Absolute() : target_.path;
  h += " HTTP/1.0\r\n";
  auto line = [&h](std::string_view name, const std::string& value) {
    if (value.empty()) return;
    h += name;
    h += value;
    h += "\r\n";
  };
  line("From: ", sender_);
  line("Accept: ", accept_);
  line("Referer: ", reference_);
  line("Accept-Language: ", acceptLanguage_);
  if (requestType_ == THttpRequest::Post) line("Content-Type: ", contentTypePost_);
  line("User-Agent: ", agent_);
  h += "Host: " + target_.host + "\r\n";
  if (noCache_) h += "Pragma: no-cache\r\n";
  if (requestType_ == THttpRequest::Post)
    h += "Content-Length: " + std::to_string(sendStream_ ? sendStream_->size() : 0) + "\r\n";
  if (modifiedSince_) h += "If-Modified-Since: " + HttpDate(*modifiedSince_) + " GMT\r\n";
  if (!requestUser_.empty())
    h += "Authorization: Basic " + Base64(requestUser_ + ":" + requestPassword_) + "\r\n";
  if (viaProxy && !proxyUsername_.empty())
    h += "Proxy-Authorization: Basic " + Base64(proxyUsername_ + ":" + proxyPassword_) + "\r\n";
  line("Cookie: ", cookie_);
  h += "\r\n";
  return h;
}

void THttpCli::SocketSessionConnected(int error) {
  if (state_ != THttpState::DnsLookupDone) return;
  if (error != 0) {
    Fail(error, SocketErrorDesc(error) + " (Error #" + std::to_string(error) + ")");
    return;
  }
  if (Encrypted()) {
    if (proxy_.empty()) {
      StartHandshake();
    } else {
      link_ = TLink::Tunnel;
      const std::string connect = BuildConnectRequest();
      socket_->Send(connect.data(), connect.size());
    }
    return;
  }
  SendRequest();
}

// The session is ready for the request: plain at once, https once the handshake is done.
void THttpCli::SendRequest() {
  if (!SetState(THttpState::Connected)) return;
  if (!Fire(OnSessionConnected)) return;
  const std::string header = BuildRequestHeader();
  sendingBody_ = requestType_ == THttpRequest::Post;
  socket_->Send(header.data(), header.size());
  SetState(THttpState::WaitingHeader);
}

std::string THttpCli::BuildConnectRequest() const {
  const std::string authority =
      target_.host + ":" + std::to_string(PortNumber(target_.port, 443));
  std::string h = "CONNECT " + authority + " HTTP/1.0\r\n";
  if (!agent_.empty()) h += "User-Agent: " + agent_ + "\r\n";
  h += "Host: " + authority + "\r\n";
  if (!proxyUsername_.empty())
    h += "Proxy-Authorization: Basic " + Base64(proxyUsername_ + ":" + proxyPassword_) + "\r\n";
  h += "\r\n";
  return h;
}

void THttpCli::StartHandshake() {
  link_ = TLink::Handshake;
  socket_->StartTls(target_.host, tlsConfig_);
}

void THttpCli::SocketTlsDone(int error, const std::string& detail) {
  if (state_ != THttpState::DnsLookupDone || link_ != TLink::Handshake) return;
  if (error != 0) {
    Fail(error, TlsReason(error, target_.host, detail));
    return;
  }
  link_ = TLink::Secure;
  SendRequest();
}

// The proxy's answer to CONNECT. A 2xx header is taken here without events and the
// handshake starts after its empty line; any other answer is the request's answer and is
// read like one, from its first line.
bool THttpCli::TakeTunnelAnswer() {
  for (;;) {
    const std::string_view rest = std::string_view(line_).substr(lineStart_);
    const size_t lf = rest.find('\n');
    if (lf == std::string_view::npos) {
      if (rest.size() < kLineBufferSize) return true;
      Fail(http_error::kLineTooLong, kHttpLineTooLong);
      return false;
    }
    std::string_view text = rest.substr(0, lf);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (!tunnelStatusSeen_) {
      tunnelStatusSeen_ = true;
      const int code = StatusCodeOf(text);
      if (code < 200 || code > 299) {
        tunnelAnswer_ = true;
        if (!SetState(THttpState::WaitingHeader)) return false;
        return TakeHeaderBytes();
      }
    }
    lineStart_ += lf + 1;
    headerBytes_ += text.size();
    if (headerBytes_ > kMaxHeaderBytes) {
      Fail(http_error::kHeaderTooLong, "HTTP header too long");
      return false;
    }
    if (text.empty()) {
      if (lineStart_ < line_.size()) {
        // A TLS server says nothing before the client's hello: these bytes are no one's.
        Fail(http_error::kTlsHandshake, TlsReason(http_error::kTlsHandshake, target_.host,
                                                  "the proxy sent data after its answer"));
        return false;
      }
      line_.clear();
      lineStart_ = 0;
      headerBytes_ = 0;
      StartHandshake();
      return false;
    }
  }
}

void THttpCli::SocketDataSent() {
  if (!sendingBody_ || !sendStream_) return;
  if (state_ != THttpState::WaitingHeader && state_ != THttpState::WaitingBody) return;
  piece_.resize(kSendPieceSize);
  const qint64 n = sendStream_->read(piece_.data(), static_cast<qint64>(kSendPieceSize));
  if (n <= 0) {
    sendingBody_ = false;
    return;
  }
  socket_->Send(piece_.data(), static_cast<size_t>(n));
}

void THttpCli::SocketDataAvailable() {
  const std::weak_ptr<int> alive = alive_;
  const uint64_t id = requestId_;
  char body[kLineBufferSize + 1];
  while (Going(alive, id) && !closing_) {
    if (state_ == THttpState::WaitingHeader) {
      if (ReadIntoLineBuffer() == 0) return;
      if (!TakeHeaderBytes()) return;
    } else if (state_ == THttpState::DnsLookupDone && link_ == TLink::Tunnel) {
      if (ReadIntoLineBuffer() == 0) return;
      if (!TakeTunnelAnswer()) return;
    } else if (state_ == THttpState::WaitingBody) {
      const size_t n = socket_->Receive(body, kLineBufferSize);
      if (n == 0) return;
      body[n] = '\0';
      if (!DeliverBody(body, n)) return;
    } else {
      return;
    }
  }
  if (!alive.expired() && closing_) {
    // Closing on our own: what still arrives is not read.
    while (socket_->Receive(body, kLineBufferSize) > 0) {
    }
  }
}

// Compacts the line buffer, then fills the room that is left in it; the bytes read.
size_t THttpCli::ReadIntoLineBuffer() {
  if (lineStart_ > 0) {
    line_.erase(0, lineStart_);
    lineStart_ = 0;
  }
  const size_t room = kLineBufferSize - line_.size();
  const size_t used = line_.size();
  line_.resize(kLineBufferSize);
  const size_t n = socket_->Receive(line_.data() + used, room);
  line_.resize(used + n);
  return n;
}

bool THttpCli::TakeHeaderBytes() {
  while (state_ == THttpState::WaitingHeader) {
    const std::string_view rest = std::string_view(line_).substr(lineStart_);
    const size_t lf = rest.find('\n');
    if (lf == std::string_view::npos) {
      if (rest.size() < kLineBufferSize) return true;  // wait for the rest of the line
      if (StartsWithIgnoreCase(rest, "<html>")) {
        // A document without header whose first line fills the buffer: it is all body.
        std::string first(rest);
        lineStart_ = line_.size();
        if (!headerBegun_) {
          headerBegun_ = true;
          if (!Fire(OnHeaderBegin)) return false;
        }
        return HtmlWithoutHeader(first);
      }
      Fail(http_error::kLineTooLong, kHttpLineTooLong);
      return false;
    }
    std::string raw(rest.substr(0, lf + 1));
    std::string_view text = std::string_view(raw).substr(0, lf);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    lineStart_ += lf + 1;
    if (!HeaderLine(text, raw)) return false;
  }
  return true;
}

bool THttpCli::HeaderLine(std::string_view line, std::string_view raw) {
  if (!headerBegun_) {
    headerBegun_ = true;
    if (!Fire(OnHeaderBegin)) return false;
  }
  if (StartsWithIgnoreCase(line, "<html>")) return HtmlWithoutHeader(raw);
  if (line.empty()) return HeaderComplete();

  headerBytes_ += line.size();
  if (headerBytes_ > kMaxHeaderBytes) {
    Fail(http_error::kHeaderTooLong, "HTTP header too long");
    return false;
  }
  rcvdHeader_.emplace_back(line);
  if (const int code = StatusCodeOf(line); code >= 0) {
    // Characters 10 to 12 are the code, 14 on the reason.
    statusCode_ = code;
    reasonPhrase_ = line.size() > 13 ? std::string(line.substr(13)) : std::string();
  } else if (const size_t colon = line.find(':'); colon != std::string_view::npos) {
    std::string name(line.substr(0, colon));
    for (char& c : name) c = AsciiLower(c);
    std::string_view value = line.substr(colon + 1);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    // A proxy that refuses a tunnel has no say in where the page is.
    if (name == "location" && !tunnelAnswer_) {
      relocationNoted_ = true;
      relocation_ = ResolveLocation(target_, value);
    } else if (name == "content-length") {
      contentLength_ = ContentLengthOf(value);
    } else if (name == "content-type") {
      contentType_ = std::string(value);
      for (char& c : contentType_) c = AsciiLower(c);
    } else if (name == "set-cookie") {
      if (OnCookie) {
        const std::weak_ptr<int> alive = alive_;
        const uint64_t id = requestId_;
        bool accept = true;
        auto handler = OnCookie;
        handler(*this, std::string(value), accept);
        if (!Going(alive, id)) return false;
      }
    }
  }
  return Fire(OnHeaderData);
}

// The header is taken as ended when a line starts with "<HTML>": the answer has no header
// and that line, as it arrived, is the first piece of the body. OnHeaderEnd is raised for
// it as for any other end of the header, so every user sees one.
bool THttpCli::HtmlWithoutHeader(std::string_view first) {
  if (contentType_.empty()) contentType_ = "text/html";
  std::string piece(first);
  piece.append(line_, lineStart_, std::string::npos);
  line_.clear();
  lineStart_ = 0;
  headerEnded_ = true;
  if (!SetState(THttpState::WaitingBody)) return false;
  if (!Fire(OnHeaderEnd)) return false;
  for (size_t at = 0; at < piece.size(); at += kLineBufferSize) {
    const size_t n = std::min(kLineBufferSize, piece.size() - at);
    std::string part = piece.substr(at, n);  // keeps the zero byte after the piece
    if (!DeliverBody(part.c_str(), n)) return false;
  }
  return true;
}

bool THttpCli::HeaderComplete() {
  headerEnded_ = true;
  if (relocationNoted_) {
    if (!Fire(OnHeaderEnd)) return false;
    closing_ = true;
    socket_->Close();  // the relocation is followed when the close is reported
    return false;
  }
  if (contentLength_ == 0) {
    if (!Fire(OnHeaderEnd)) return false;
    EndRequest(0);
    return false;
  }
  std::string rest = line_.substr(lineStart_);
  line_.clear();
  lineStart_ = 0;
  if (!SetState(THttpState::WaitingBody)) return false;
  if (!Fire(OnHeaderEnd)) return false;
  if (!rest.empty() && !DeliverBody(rest.c_str(), rest.size())) return false;
  if (statusCode_ >= 400) {
    // The body of an error answer is not read beyond what came with the header.
    closing_ = true;
    socket_->Close();
    return false;
  }
  return true;
}

bool THttpCli::DeliverBody(const char* data, size_t length) {
  if (length == 0) return true;
  if (!docBegun_) {
    docBegun_ = true;
    if (!Fire(OnDocBegin)) return false;
  }
  bool full = false;
  if (rcvdStream_) {
    if (rcvdStreamLimit_ >= 0 && rcvdCount_ + static_cast<int64_t>(length) > rcvdStreamLimit_) {
      length = static_cast<size_t>(rcvdStreamLimit_ - rcvdCount_);
      full = true;
    }
    if (length > 0 &&
        rcvdStream_->write(data, static_cast<qint64>(length)) != static_cast<qint64>(length)) {
      Fail(http_error::kReceiveLimit, "Receive stream cannot be written");
      return false;
    }
  }
  rcvdCount_ += static_cast<int64_t>(length);
  if (length > 0 && OnDocData) {
    const std::weak_ptr<int> alive = alive_;
    const uint64_t id = requestId_;
    auto handler = OnDocData;
    if (data[length] != '\0') {
      piece_.assign(data, length);  // the zero byte after the piece
      data = piece_.c_str();
    }
    handler(*this, data, static_cast<int>(length));
    if (!Going(alive, id)) return false;
  }
  if (full) {
    Fail(http_error::kReceiveLimit, "Receive stream limit reached");
    return false;
  }
  return true;
}

void THttpCli::SocketSessionClosed(int error) {
  const std::weak_ptr<int> alive = alive_;
  const uint64_t id = requestId_;
  if (!Going(alive, id)) return;
  closing_ = false;
  if (state_ == THttpState::WaitingBody) {
    if (docBegun_ && !Fire(OnDocEnd)) return;
    EndRequest(error);
    return;
  }
  if (state_ == THttpState::DnsLookupDone && link_ == TLink::Handshake) {
    Fail(http_error::kTlsClosed, TlsReason(http_error::kTlsClosed, target_.host, {}));
    return;
  }
  if (state_ != THttpState::WaitingHeader) {
    EndRequest(error);
    return;
  }
  if (!headerEnded_) {
    // A last line without its line end still counts.
    if (lineStart_ < line_.size()) {
      std::string last = line_.substr(lineStart_);
      lineStart_ = line_.size();
      std::string_view text = last;
      if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
      if (!text.empty() && !HeaderLine(text, last)) return;
      if (state_ == THttpState::WaitingBody) {
        if (docBegun_ && !Fire(OnDocEnd)) return;
        EndRequest(error);
        return;
      }
    }
    if (headerBegun_) {
      headerEnded_ = true;
      if (!Fire(OnHeaderEnd)) return;
    }
  }
  if (relocationNoted_) {
    FollowRelocation();
    return;
  }
  EndRequest(error);
}

void THttpCli::FollowRelocation() {
  if (relocations_ >= kMaxRelocations) {
    Fail(http_error::kTooManyRelocations, "Too many relocations");
    return;
  }
  ++relocations_;
  const THttpUrl previous = target_;
  // The server chose the new address, and it is followed whatever its scheme: from https://
  // to http:// too, as a browser does. Only what the client adds itself, the credentials,
  // stays behind (below).
  target_ = relocation_;
  if (target_.hasUser) {
    requestUser_ = target_.user;
    requestPassword_ = target_.password;
  } else if (target_.scheme != previous.scheme || target_.host != previous.host ||
             target_.port != previous.port) {
    // Credentials are for the server they were given for, never for the next one.
    requestUser_.clear();
    requestPassword_.clear();
  }
  ClearResults();
  location_ = target_.Absolute();
  if (requestType_ == THttpRequest::Post) requestType_ = THttpRequest::Get;
  if (HasLineBreak(location_)) {
    Fail(http_error::kRefused, "Refused: a line break in the address or a header value");
    return;
  }
  if (!Fire(OnLocationChange)) return;
  BeginConnection();
}

}  // namespace qs
