#include "platform/singleinstance.h"

#include <unistd.h>

#include <QLocalSocket>

namespace qs {

namespace {
constexpr int kConnectMs = 1000;
constexpr char kActivate[] = "activate\n";
}  // namespace

TSingleInstance::TSingleInstance(std::string name)
    : serverName_(name + "-" + std::to_string(getuid())) {}

bool TSingleInstance::Claim() {
  const QString name = QString::fromStdString(serverName_);
  {
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(kConnectMs)) {
      probe.write(kActivate);
      probe.waitForBytesWritten(kConnectMs);
      probe.disconnectFromServer();
      return false;
    }
  }
  // Nobody answered: a socket file left by a copy that crashed is stale.
  QLocalServer::removeServer(name);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name)) return true;  // cannot guard; run anyway rather than refuse
  QObject::connect(&server_, &QLocalServer::newConnection, [this] {
    while (QLocalSocket* peer = server_.nextPendingConnection()) {
      QObject::connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
        if (peer->readAll().contains("activate") && OnActivate) OnActivate();
      });
      QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    }
  });
  return true;
}

}  // namespace qs
