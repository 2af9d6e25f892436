#include "practiceserver.h"

#include <QFile>
#include <QSslSocket>
#include <algorithm>
#include <cstdlib>

#include <QTcpSocket>
#include <fstream>

namespace qs::practice {

struct TPracticeServer::Connection {
  QTcpSocket* socket = nullptr;
  std::string bytes;
  bool answered = false;
  std::unique_ptr<QTimer> delay;
};

void TPracticeListener::incomingConnection(qintptr descriptor) {
  if (chain.isEmpty()) {
    QTcpServer::incomingConnection(descriptor);
    return;
  }
  auto* s = new QSslSocket(this);
  if (!s->setSocketDescriptor(descriptor)) {
    delete s;
    return;
  }
  s->setLocalCertificateChain(chain);
  s->setPrivateKey(key);
  s->setPeerVerifyMode(QSslSocket::VerifyNone);
  // A client that gives up during the handshake is no concern of the engines played here.
  s->startServerEncryption();
  addPendingConnection(s);
}

bool TPracticeServer::SetTls(const std::string& certFile, const std::string& keyFile,
                             std::string& problem) {
  QFile cert(QString::fromStdString(certFile));
  QFile key(QString::fromStdString(keyFile));
  if (!cert.open(QIODevice::ReadOnly) || !key.open(QIODevice::ReadOnly)) {
    problem = "cannot read " + (cert.isOpen() ? keyFile : certFile);
    return false;
  }
  const QList<QSslCertificate> chain = QSslCertificate::fromData(cert.readAll(), QSsl::Pem);
  const QByteArray keyBytes = key.readAll();
  QSslKey k(keyBytes, QSsl::Ec);
  if (k.isNull()) k = QSslKey(keyBytes, QSsl::Rsa);
  if (chain.isEmpty() || k.isNull()) {
    problem = chain.isEmpty() ? "no certificate in " + certFile : "no private key in " + keyFile;
    return false;
  }
  server_.chain = chain;
  server_.key = k;
  return true;
}

std::string TPracticeServer::Base() const {
  return (server_.chain.isEmpty() ? "http://127.0.0.1:" : "https://127.0.0.1:") +
         std::to_string(Port());
}

TPracticeServer::TPracticeServer() {
  QObject::connect(&server_, &QTcpServer::newConnection, [this] { Accept(); });
}

TPracticeServer::~TPracticeServer() {
  for (auto& c : connections_) {
    if (!c->socket) continue;
    QObject::disconnect(c->socket, nullptr, nullptr, nullptr);
    c->socket->abort();
    delete c->socket;
  }
}

bool TPracticeServer::Listen(uint16_t port) {
  server_.setMaxPendingConnections(1000);
  return server_.listen(QHostAddress::LocalHost, port);
}

int TPracticeServer::OpenConnections() const {
  int n = 0;
  for (const auto& c : connections_)
    if (c->socket && c->socket->state() == QAbstractSocket::ConnectedState) ++n;
  return n;
}

std::string TPracticeServer::AnswerOf(std::string_view b) {
  const std::string body = "<html><body>thank you</body></html>\r\n";
  if (b == "ok" || b == "slow") return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body;
  if (b == "moved") return "HTTP/1.0 301 Moved Permanently\r\nLocation: /ok/moved\r\n\r\n";
  if (b == "found") return "HTTP/1.0 302 Found\r\nLocation: /ok/found\r\n\r\n";
  if (b == "error") return "HTTP/1.0 500 Internal Server Error\r\n\r\n";
  if (b == "timeout") return "HTTP/1.0 408 Request Timeout\r\n\r\n";
  if (b == "noreason") return "HTTP/1.0 200\r\n\r\n" + body;
  if (b == "html") return "<HTML><BODY>thank you</BODY></HTML>\r\n";
  if (b == "silent" || b == "close") return {};
  return "HTTP/1.0 404 Not Found\r\n\r\n";
}

std::string TPracticeServer::RankPageOf(std::string_view query) {
  auto value = [&](std::string_view name) -> std::string {
    for (size_t at = 0; at <= query.size();) {
      const size_t end = std::min(query.find('&', at), query.size());
      const std::string_view pair = query.substr(at, end - at);
      if (pair.substr(0, name.size() + 1) == std::string(name) + "=")
        return std::string(pair.substr(name.size() + 1));
      at = end + 1;
    }
    return {};
  };
  const int first = std::max(1, std::atoi(value("s").c_str()));
  const int hit = std::atoi(value("at").c_str());
  const std::string site = value("site");
  std::string body = "<html><body><ol>\r\n";
  for (int n = first; n < first + 10; ++n)
    body += "<li><a class=\"title\" href=\"" +
            (n == hit ? site : "http://result" + std::to_string(n) + ".example/") +
            "\">Result " + std::to_string(n) + "</a></li>\r\n";
  body += "</ol></body></html>\r\n";
  return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body;
}

void TPracticeServer::Accept() {
  while (QTcpSocket* s = server_.nextPendingConnection()) {
    auto c = std::make_unique<Connection>();
    c->socket = s;
    Connection* raw = c.get();
    connections_.push_back(std::move(c));
    QObject::connect(s, &QTcpSocket::readyRead, [this, raw] { Read(*raw); });
    QObject::connect(s, &QTcpSocket::disconnected, [raw] {
      if (raw->socket) raw->socket->deleteLater();
      raw->socket = nullptr;
      raw->delay.reset();
    });
  }
  // Drop the records of closed connections now and then, so a long run stays small.
  if (connections_.size() > 512) {
    std::erase_if(connections_, [](const auto& c) { return c->socket == nullptr; });
  }
}

void TPracticeServer::Read(Connection& c) {
  if (!c.socket) return;
  const QByteArray data = c.socket->readAll();
  c.bytes.append(data.constData(), static_cast<size_t>(data.size()));
  if (c.answered) return;
  const size_t end = c.bytes.find("\r\n\r\n");
  if (end == std::string::npos) return;
  size_t length = 0;
  for (size_t at = c.bytes.find("\r\n"); at < end; at = c.bytes.find("\r\n", at + 2)) {
    const std::string_view line = std::string_view(c.bytes).substr(at + 2, c.bytes.find("\r\n", at + 2) - at - 2);
    constexpr std::string_view kLength = "content-length:";
    if (line.size() > kLength.size()) {
      std::string name(line.substr(0, kLength.size()));
      for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      if (name == kLength) length = std::strtoul(std::string(line.substr(kLength.size())).c_str(), nullptr, 10);
    }
  }
  if (c.bytes.size() < end + 4 + length) return;
  c.answered = true;
  Answer(c);
}

void TPracticeServer::Answer(Connection& c) {
  TReceived r;
  r.bytes = c.bytes;
  const size_t sp = r.bytes.find(' ');
  const size_t sp2 = sp == std::string::npos ? sp : r.bytes.find(' ', sp + 1);
  std::string target = sp2 == std::string::npos ? "" : r.bytes.substr(sp + 1, sp2 - sp - 1);
  if (const size_t scheme = target.find("://");
      scheme != std::string::npos && scheme < target.find('/')) {  // through a proxy: the absolute form
    const size_t slash = target.find('/', scheme + 3);
    target = slash == std::string::npos ? "/" : target.substr(slash);
  }
  r.path = target.substr(0, target.find('?'));
  const size_t second = r.path.find('/', 1);
  const std::string behaviour = r.path.substr(1, second == std::string::npos ? std::string::npos : second - 1);
  ++receivedCount_;
  Log(r);
  if (keepReceived_) received_.push_back(r);

  QTcpSocket* s = c.socket;
  if (behaviour == "silent") return;
  if (behaviour == "close") {
    s->disconnectFromHost();
    return;
  }
  const size_t question = target.find('?');
  const std::string answer =
      behaviour == "rank"
          ? RankPageOf(question == std::string::npos ? std::string_view() : std::string_view(target).substr(question + 1))
          : AnswerOf(behaviour);
  auto send = [s, answer] {
    s->write(answer.data(), static_cast<qint64>(answer.size()));
    s->disconnectFromHost();
  };
  if (behaviour == "slow") {
    c.delay = std::make_unique<QTimer>();
    c.delay->setSingleShot(true);
    QObject::connect(c.delay.get(), &QTimer::timeout, send);
    c.delay->start(slowMs_);
    return;
  }
  send();
}

void TPracticeServer::Log(const TReceived& r) {
  if (logFile_.empty()) return;
  std::ofstream out(logFile_, std::ios::binary | std::ios::app);
  out << "#request " << receivedCount_ << ' ' << r.bytes.size() << '\n' << r.bytes << '\n';
}

std::vector<std::string> TPracticeServer::ReadLog(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> records;
  size_t at = 0;
  while (at < all.size() && all.compare(at, 9, "#request ") == 0) {
    const size_t eol = all.find('\n', at);
    if (eol == std::string::npos) break;
    const size_t space = all.rfind(' ', eol);
    const size_t length = std::strtoul(all.substr(space + 1, eol - space - 1).c_str(), nullptr, 10);
    records.push_back(all.substr(eol + 1, length));
    at = eol + 1 + length + 1;
  }
  return records;
}

}  // namespace qs::practice
