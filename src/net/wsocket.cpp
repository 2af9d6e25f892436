#include "net/wsocket.h"

#include "net/queuedcall.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QMetaObject>
#include <QSslError>
#include <QSslSocket>
#include <QTcpSocket>

namespace qs {

namespace {

// Bytes QtNetwork may hold for us before we read them; the client reads everything it is
// told about, so this only bounds what a fast peer can pile up between two events.
constexpr qint64 kSocketReadBuffer = 64 * 1024;

int CodeOf(QAbstractSocket::SocketError error, const QString& text) {
  using E = QAbstractSocket::SocketError;
  switch (error) {
    case E::ConnectionRefusedError: return socket_error::kConnectionRefused;
    case E::HostNotFoundError: return socket_error::kHostNotFound;
    case E::SocketAccessError: return socket_error::kAccess;
    case E::SocketResourceError: return socket_error::kNoBufferSpace;
    case E::SocketTimeoutError: return socket_error::kTimedOut;
    case E::AddressInUseError: return socket_error::kAddressInUse;
    case E::SocketAddressNotAvailableError: return socket_error::kAddressNotAvailable;
    case E::UnsupportedSocketOperationError: return socket_error::kAddressFamily;
    case E::RemoteHostClosedError: return socket_error::kConnectionReset;
    default: break;
  }
  // QtNetwork folds several system errors into NetworkError; its text tells them apart.
  const QString t = text.toLower();
  if (t.contains("timed out")) return socket_error::kTimedOut;
  if (t.contains("network unreachable") || t.contains("network is unreachable"))
    return socket_error::kNetworkUnreachable;
  if (t.contains("host unreachable") || t.contains("no route")) return socket_error::kHostUnreachable;
  if (t.contains("reset")) return socket_error::kConnectionReset;
  if (t.contains("refused")) return socket_error::kConnectionRefused;
  return socket_error::kNetworkDown;
}

// The tls_error code of one certificate failure, 0 for one that is not about the certificate.
int TlsCodeOf(QSslError::SslError error) {
  using E = QSslError;
  switch (error) {
    case E::HostNameMismatch: return tls_error::kHostMismatch;
    case E::CertificateExpired:
    case E::CertificateNotYetValid: return tls_error::kExpired;
    case E::UnableToGetIssuerCertificate:
    case E::UnableToGetLocalIssuerCertificate:
    case E::UnableToVerifyFirstCertificate:
    case E::SelfSignedCertificate:
    case E::SelfSignedCertificateInChain:
    case E::CertificateUntrusted:
    case E::CertificateRejected:
    case E::InvalidCaCertificate:
    case E::CertificateRevoked:
    case E::CertificateBlacklisted:
    case E::CertificateSignatureFailed:
    case E::UnableToDecryptCertificateSignature:
    case E::UnableToDecodeIssuerPublicKey:
    case E::InvalidNotBeforeField:
    case E::InvalidNotAfterField:
    case E::PathLengthExceeded:
    case E::InvalidPurpose: return tls_error::kUntrusted;
    default: return 0;
  }
}

// When a certificate fails in several ways, the one the user can least work around is told:
// an issuer nobody trusts, then a validity period, then a name.
int TlsRank(int code) {
  switch (code) {
    case tls_error::kUntrusted: return 3;
    case tls_error::kExpired: return 2;
    case tls_error::kHostMismatch: return 1;
    default: return 0;
  }
}

}  // namespace

std::string SocketErrorDesc(int code) {
  switch (code) {
    case socket_error::kNone: return "No Error";
    case socket_error::kAccess: return "Permission denied";
    case socket_error::kInvalidArgument: return "Invalid argument";
    case socket_error::kAddressFamily: return "Address family not supported by protocol family";
    case socket_error::kAddressInUse: return "Address already in use";
    case socket_error::kAddressNotAvailable: return "Cannot assign requested address";
    case socket_error::kNetworkDown: return "Network is down";
    case socket_error::kNetworkUnreachable: return "Network is unreachable";
    case socket_error::kConnectionAborted: return "Software caused connection abort";
    case socket_error::kConnectionReset: return "Connection reset by peer";
    case socket_error::kNoBufferSpace: return "No buffer space available";
    case socket_error::kTimedOut: return "Connection timed out";
    case socket_error::kConnectionRefused: return "Connection refused";
    case socket_error::kHostUnreachable: return "No route to host";
    case socket_error::kHostNotFound: return "Host not found";
    default: return "Not a WinSock error";
  }
}

TWSocket::TWSocket() = default;

TWSocket::~TWSocket() { Abort(); }

void TWSocket::Queue(std::function<void()> what) {
  const uint64_t generation = generation_;
  QueueCall(alive_, [this, generation, what = std::move(what)] {
    if (generation == generation_) what();
  });
}

void TWSocket::DnsLookup(const std::string& host) {
  TWSocket::CancelDnsLookup();
  const QString name = QString::fromStdString(host);
  QHostAddress literal;
  if (literal.setAddress(name)) {
    state_ = TSocketState::DnsLookup;
    Queue([this, address = literal.toString().toStdString()] {
      state_ = TSocketState::Closed;
      dnsResult_ = address;
      if (OnDnsLookupDone) OnDnsLookupDone(0);
    });
    return;
  }
  state_ = TSocketState::DnsLookup;
  const uint64_t generation = generation_;
  lookupId_ = QHostInfo::lookupHost(name, &context_, [this, generation](const QHostInfo& info) {
    if (generation != generation_ || state_ != TSocketState::DnsLookup) return;
    lookupId_ = -1;
    std::string address;
    const auto addresses = info.addresses();
    if (info.error() == QHostInfo::NoError && !addresses.isEmpty()) {
      // The first IPv4 address when there is one: a name like "localhost" often lists ::1
      // first, while servers commonly listen on IPv4 only.
      QHostAddress chosen = addresses.front();
      for (const auto& a : addresses) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol) {
          chosen = a;
          break;
        }
      }
      address = chosen.toString().toStdString();
    }
    Queue([this, address] {
      state_ = TSocketState::Closed;
      dnsResult_ = address;
      if (OnDnsLookupDone) OnDnsLookupDone(address.empty() ? socket_error::kHostNotFound : 0);
    });
  });
}

void TWSocket::CancelDnsLookup() {
  if (lookupId_ >= 0) QHostInfo::abortHostLookup(lookupId_);
  lookupId_ = -1;
  if (state_ == TSocketState::DnsLookup) {
    state_ = TSocketState::Closed;
    ++generation_;
  }
}

int TWSocket::Connect(const std::string& address, uint16_t port, const std::string& localAddr) {
  DropSocket();
  QHostAddress target;
  if (!target.setAddress(QString::fromStdString(address)) || port == 0)
    return socket_error::kInvalidArgument;
  lastError_ = 0;
  handshaking_ = false;
  peerClosed_ = false;
  socket_ = tlsCapable_ ? new QSslSocket(&context_) : new QTcpSocket(&context_);
  socket_->setReadBufferSize(kSocketReadBuffer);
  if (!localAddr.empty() && localAddr != "0.0.0.0") {
    QHostAddress local;
    if (!local.setAddress(QString::fromStdString(localAddr))) {
      DropSocket();
      return socket_error::kAddressNotAvailable;
    }
    if (!socket_->bind(local, 0)) {
      const int code = CodeOf(socket_->error(), socket_->errorString());
      DropSocket();
      return code;
    }
  }
  Wire();
  if (tlsCapable_) WireTls();
  state_ = TSocketState::Connecting;
  socket_->connectToHost(target, port);
  return 0;
}

void TWSocket::Wire() {
  QTcpSocket* s = socket_;
  QObject::connect(s, &QTcpSocket::connected, &context_, [this] {
    Queue([this] {
      if (state_ != TSocketState::Connecting) return;
      state_ = TSocketState::Connected;
      if (OnSessionConnected) OnSessionConnected(0);
    });
  });
  QObject::connect(s, &QAbstractSocket::errorOccurred, &context_,
                   [this, s](QAbstractSocket::SocketError error) {
                     // An orderly close by the peer is reported as an error too; it is not one.
                     if (error == QAbstractSocket::RemoteHostClosedError) {
                       peerClosed_ = true;
                       return;
                     }
                     if (handshaking_) {
                       if (tlsDetail_.empty()) tlsDetail_ = s->errorString().toStdString();
                       return;
                     }
                     lastError_ = CodeOf(error, s->errorString());
                   });
  QObject::connect(s, &QAbstractSocket::stateChanged, &context_,
                   [this](QAbstractSocket::SocketState st) {
                     if (st != QAbstractSocket::UnconnectedState) return;
                     Queue([this] {
                       if (state_ == TSocketState::Connecting) {
                         const int code = lastError_ ? lastError_ : socket_error::kConnectionRefused;
                         DropSocket();
                         if (OnSessionConnected) OnSessionConnected(code);
                       } else if (state_ == TSocketState::Connected && handshaking_) {
                         HandshakeEnded();
                       } else if (state_ == TSocketState::Connected) {
                         // Data that came before the close is handed over first.
                         int64_t before = BytesAvailable();
                         while (before > 0 && state_ == TSocketState::Connected && OnDataAvailable) {
                           const uint64_t generation = generation_;
                           const std::weak_ptr<int> alive = alive_;
                           OnDataAvailable();
                           if (alive.expired() || generation != generation_) return;
                           const int64_t after = BytesAvailable();
                           if (after >= before) break;
                           before = after;
                         }
                         if (state_ != TSocketState::Connected) return;
                         const int code = lastError_;
                         DropSocket();
                         if (OnSessionClosed) OnSessionClosed(code);
                       }
                     });
                   });
  QObject::connect(s, &QIODevice::readyRead, &context_, [this] {
    Queue([this] {
      if (state_ == TSocketState::Connected && BytesAvailable() > 0 && OnDataAvailable)
        OnDataAvailable();
    });
  });
  QObject::connect(s, &QIODevice::bytesWritten, &context_, [this, s](qint64) {
    if (s->bytesToWrite() != 0) return;
    Queue([this] {
      if (state_ == TSocketState::Connected && OnDataSent) OnDataSent();
    });
  });
}

void TWSocket::WireTls() {
  auto* s = static_cast<QSslSocket*>(socket_);
  QObject::connect(s, &QSslSocket::encrypted, &context_, [this] {
    Queue([this] {
      if (state_ != TSocketState::Connected || !handshaking_) return;
      handshaking_ = false;
      if (OnTlsDone) OnTlsDone(0, {});
      // Application data that came with the end of the handshake.
      if (state_ == TSocketState::Connected && BytesAvailable() > 0 && OnDataAvailable)
        OnDataAvailable();
    });
  });
  QObject::connect(s, &QSslSocket::sslErrors, &context_, [this](const QList<QSslError>& errors) {
    // Nothing is ignored: QSslSocket drops the connection after this signal, and the close
    // reports the worst failure found here.
    for (const QSslError& e : errors) {
      const int code = TlsCodeOf(e.error());
      if (code != 0 && TlsRank(code) > TlsRank(tlsError_)) {
        tlsError_ = code;
        tlsDetail_ = e.errorString().toStdString();
      }
    }
  });
}

void TWSocket::StartTls(const std::string& peerName, const QSslConfiguration& config) {
  auto* s = qobject_cast<QSslSocket*>(socket_);
  if (!s || state_ != TSocketState::Connected) {
    Queue([this] {
      if (OnTlsDone) OnTlsDone(tls_error::kHandshake, "the connection cannot be encrypted");
    });
    return;
  }
  handshaking_ = true;
  tlsError_ = 0;
  tlsDetail_.clear();
  peerClosed_ = false;
  s->setSslConfiguration(config);
  s->setPeerVerifyName(QString::fromStdString(peerName));
  s->startClientEncryption();
}

void TWSocket::HandshakeEnded() {
  handshaking_ = false;
  int code = tlsError_;
  std::string detail = tlsDetail_;
  if (code == 0) {
    // Without a certificate failure, a peer that went away is told apart from one that
    // answered with something that is not TLS.
    const bool eof = detail.empty() || detail.find("unexpected eof") != std::string::npos ||
                     detail.find("Unexpected EOF") != std::string::npos;
    code = peerClosed_ && eof ? tls_error::kClosed : tls_error::kHandshake;
    if (code == tls_error::kHandshake && detail.empty()) detail = "the handshake failed";
  }
  DropSocket();
  if (OnTlsDone) OnTlsDone(code, detail);
}

void TWSocket::Send(const char* data, size_t length) {
  if (!socket_ || state_ != TSocketState::Connected) return;
  socket_->write(data, static_cast<qint64>(length));
}

int64_t TWSocket::BytesAvailable() const { return socket_ ? socket_->bytesAvailable() : 0; }

size_t TWSocket::Receive(char* target, size_t capacity) {
  if (!socket_ || capacity == 0) return 0;
  const qint64 n = socket_->read(target, static_cast<qint64>(capacity));
  return n > 0 ? static_cast<size_t>(n) : 0;
}

void TWSocket::DropSocket() {
  if (!socket_) {
    if (state_ != TSocketState::DnsLookup) state_ = TSocketState::Closed;
    return;
  }
  QTcpSocket* s = socket_;
  socket_ = nullptr;
  QObject::disconnect(s, nullptr, &context_, nullptr);
  s->abort();
  s->deleteLater();
  state_ = TSocketState::Closed;
  handshaking_ = false;
}

void TWSocket::Close() {
  TWSocket::CancelDnsLookup();
  const bool open = socket_ != nullptr &&
                    (state_ == TSocketState::Connecting || state_ == TSocketState::Connected);
  DropSocket();
  ++generation_;
  if (open) {
    Queue([this] {
      if (OnSessionClosed) OnSessionClosed(0);
    });
  }
}

void TWSocket::Abort() {
  TWSocket::CancelDnsLookup();
  DropSocket();
  ++generation_;
}

}  // namespace qs
