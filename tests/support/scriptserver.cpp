#include "support/scriptserver.h"

#include <sys/socket.h>

#include <QSslKey>
#include <QSslSocket>
#include <QTimer>
#include <stdexcept>

namespace qs::test {

struct ScriptServer::Connection {
  QTcpSocket* socket = nullptr;
  std::string request;
  Script script;
  size_t step = 0;
  bool started = false;
  bool done = false;
  std::string endless;
};

void ScriptServer::Pump(Connection& c) {
  if (c.done || c.socket->state() != QAbstractSocket::ConnectedState) return;
  // Keep a little in flight; write more as it drains.
  while (c.socket->bytesToWrite() < 64 * 1024) {
    c.socket->write(c.endless.data(), static_cast<qint64>(c.endless.size()));
    foreverBytes_ += static_cast<int64_t>(c.endless.size());
  }
  Connection* raw = &c;
  QTimer::singleShot(1, &server_, [this, raw] { Pump(*raw); });
}

void ScriptTcpServer::incomingConnection(qintptr descriptor) {
  if (!tls) {
    QTcpServer::incomingConnection(descriptor);
    return;
  }
  auto* s = new QSslSocket(this);
  if (!s->setSocketDescriptor(descriptor)) {
    delete s;
    return;
  }
  s->setLocalCertificate(QString::fromStdString(tls->cert));
  s->setPrivateKey(QString::fromStdString(tls->key), QSsl::Ec);
  s->setPeerVerifyMode(QSslSocket::VerifyNone);
  s->startServerEncryption();
  addPendingConnection(s);
}

ScriptServer::ScriptServer(std::vector<Script> scripts, std::optional<CertAndKey> tls)
    : scripts_(std::move(scripts)) {
  server_.tls = std::move(tls);
  if (!server_.listen(QHostAddress::LocalHost, 0))
    throw std::runtime_error("script server cannot listen on 127.0.0.1");
  QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
}

ScriptServer::~ScriptServer() {
  for (auto& c : connections_) {
    if (c->socket) {
      QObject::disconnect(c->socket, nullptr, nullptr, nullptr);
      c->socket->abort();
    }
  }
  server_.close();
}

std::vector<std::string> ScriptServer::Requests() const {
  std::vector<std::string> all;
  for (const auto& c : connections_) all.push_back(c->request);
  return all;
}

void ScriptServer::Accept() {
  while (QTcpSocket* s = server_.nextPendingConnection()) {
    auto c = std::make_unique<Connection>();
    c->socket = s;
    s->setParent(&server_);
    const size_t index = connections_.size();
    if (!scripts_.empty()) c->script = scripts_[std::min(index, scripts_.size() - 1)];
    Connection* raw = c.get();
    connections_.push_back(std::move(c));
    QObject::connect(s, &QTcpSocket::readyRead, &server_, [this, raw] { Received(*raw); });
    QObject::connect(s, &QTcpSocket::disconnected, &server_, [raw] { raw->done = true; });
    if (!waitForRequest_) {
      raw->started = true;
      RunSteps(*raw);
    }
  }
}

void ScriptServer::Received(Connection& c) {
  const QByteArray bytes = c.socket->readAll();
  c.request.append(bytes.constData(), static_cast<size_t>(bytes.size()));
  if (c.started) return;
  const size_t end = c.request.find("\r\n\r\n");
  if (end == std::string::npos) return;
  size_t bodyLength = 0;
  const size_t cl = c.request.find("\r\nContent-Length: ");
  if (cl != std::string::npos && cl < end) bodyLength = std::stoul(c.request.substr(cl + 18));
  if (c.request.size() < end + 4 + bodyLength) return;
  c.started = true;
  RunSteps(c);
}

void ScriptServer::RunSteps(Connection& c) {
  while (!c.done && c.step < c.script.size()) {
    const ScriptStep& s = c.script[c.step++];
    switch (s.kind) {
      case ScriptStep::Write:
        c.socket->write(s.bytes.data(), static_cast<qint64>(s.bytes.size()));
        c.socket->flush();
        break;
      case ScriptStep::Pause: {
        Connection* raw = &c;
        QTimer::singleShot(s.ms, &server_, [this, raw] { RunSteps(*raw); });
        return;
      }
      case ScriptStep::Close:
        c.socket->disconnectFromHost();
        return;
      case ScriptStep::Reset: {
        // A zero linger time makes the close a reset.
        struct linger l = {1, 0};
        ::setsockopt(static_cast<int>(c.socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &l,
                     sizeof l);
        c.socket->abort();
        c.done = true;
        return;
      }
      case ScriptStep::Hang:
        return;
      case ScriptStep::WriteForever:
        c.endless = s.bytes;
        Pump(c);
        return;
    }
  }
}

}  // namespace qs::test
