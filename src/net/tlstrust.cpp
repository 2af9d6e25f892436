#include "net/tlstrust.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSslCertificate>
#include <QSslCipher>
#include <QSslSocket>

namespace qs {

namespace {

struct TTrust {
  std::string path;
  // The file as it was when its certificates were read.
  qint64 size = -1;
  QDateTime modified;
  bool loaded = false;
  QSslConfiguration config;
  std::string problem;
};

TTrust& Trust() {
  static TTrust trust;
  return trust;
}

QSslConfiguration BaseConfiguration() {
  QSslConfiguration c = QSslConfiguration::defaultConfiguration();
  c.setProtocol(QSsl::TlsV1_2OrLater);
  c.setPeerVerifyMode(QSslSocket::VerifyPeer);
  // Forward-secret AEAD suites only; a short list also keeps the per-connection set-up cheap.
  QList<QSslCipher> ciphers;
  for (const QSslCipher& cipher : QSslConfiguration::supportedCiphers()) {
    const QString name = cipher.name();
    const bool tls13 = name.startsWith(QLatin1String("TLS_"));
    const bool aead = name.contains(QLatin1String("GCM")) || name.contains(QLatin1String("CHACHA20"));
    if (tls13 || (aead && name.startsWith(QLatin1String("ECDHE-")))) ciphers.append(cipher);
  }
  if (!ciphers.isEmpty()) c.setCiphers(ciphers);
  return c;
}

void Load(TTrust& t, const QFileInfo& info) {
  t.loaded = true;
  t.size = info.exists() ? info.size() : -1;
  t.modified = info.exists() ? info.lastModified() : QDateTime();
  t.problem.clear();
  t.config = BaseConfiguration();
  if (t.path.empty()) return;
  QFile file(QString::fromStdString(t.path));
  if (!file.open(QIODevice::ReadOnly)) {
    t.problem = "TLS: cannot read the trusted certificates file " + t.path;
    return;
  }
  const QList<QSslCertificate> extra = QSslCertificate::fromData(file.readAll(), QSsl::Pem);
  if (extra.isEmpty()) {
    t.problem = "TLS: no certificate in the trusted certificates file " + t.path;
    return;
  }
  // Naming the authorities replaces the system's store, so it is named in full.
  t.config.setCaCertificates(QSslConfiguration::systemCaCertificates() + extra);
}

}  // namespace

void SetExtraCaFile(std::string path) {
  TTrust& t = Trust();
  if (t.path == path) return;
  t.path = std::move(path);
  t.loaded = false;
}

const std::string& ExtraCaFile() { return Trust().path; }

bool ClientTlsConfiguration(QSslConfiguration& config, std::string& problem) {
  if (!QSslSocket::supportsSsl()) {
    problem = "TLS: not available on this system (the TLS library cannot be loaded)";
    return false;
  }
  TTrust& t = Trust();
  if (t.path.empty()) {
    if (!t.loaded) Load(t, QFileInfo());
  } else {
    const QFileInfo info(QString::fromStdString(t.path));
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (!t.loaded || size != t.size || modified != t.modified) Load(t, info);
  }
  if (!t.problem.empty()) {
    problem = t.problem;
    return false;
  }
  config = t.config;
  return true;
}

}  // namespace qs
