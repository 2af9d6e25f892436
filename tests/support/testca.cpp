#include "support/testca.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <vector>

namespace qs::test {

namespace {

const char kConfig[] =
    "[ req ]\n"
    "distinguished_name = dn\n"
    "[ dn ]\n"
    "[ ca_ext ]\n"
    "basicConstraints = critical,CA:TRUE\n"
    "keyUsage = critical,keyCertSign,cRLSign\n"
    "subjectKeyIdentifier = hash\n"
    "[ localhost_ext ]\n"
    "basicConstraints = CA:FALSE\n"
    "extendedKeyUsage = serverAuth\n"
    "subjectAltName = DNS:localhost,IP:127.0.0.1\n"
    "[ other_ext ]\n"
    "basicConstraints = CA:FALSE\n"
    "extendedKeyUsage = serverAuth\n"
    "subjectAltName = DNS:other.test\n"
    "[ ca ]\n"
    "default_ca = testca\n"
    "[ testca ]\n"
    "dir = .\n"
    "database = ./index.txt\n"
    "new_certs_dir = ./issued\n"
    "certificate = ./ca.pem\n"
    "private_key = ./ca.key\n"
    "serial = ./serial\n"
    "default_md = sha256\n"
    "policy = any_name\n"
    "unique_subject = no\n"
    "[ any_name ]\n"
    "commonName = supplied\n";

// A fresh P-256 key, unencrypted: fast to make and small.
const std::vector<std::string> kNewKey = {"-newkey", "ec", "-pkeyopt",
                                          "ec_paramgen_curve:prime256v1", "-nodes"};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

std::string TestCa::Run(const std::string& what, const std::vector<std::string>& args) {
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  QProcess p;
  p.setWorkingDirectory(QString::fromStdString(folder_.Root()));
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QStringLiteral("openssl"), list);
  if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    return "openssl cannot make " + what + ": " + p.readAll().toStdString();
  return {};
}

TestCa::TestCa() {
  if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty()) {
    problem_ = "openssl is not installed (scripts/bootstrap installs it)";
    return;
  }
  folder_.Write("ca.cnf", kConfig);
  folder_.Write("index.txt", "");
  folder_.Write("serial", "1000\n");
  folder_.Write("issued/.keep", "");
  auto step = [this](const std::string& what, const std::vector<std::string>& args) {
    if (problem_.empty()) problem_ = Run(what, args);
  };
  step("the authority",
       Join({"req", "-x509", "-config", "ca.cnf", "-extensions", "ca_ext", "-keyout", "ca.key",
             "-out", "ca.pem", "-days", "3", "-subj", "/CN=Quorvex Summit Test CA"},
            kNewKey));
  struct Leaf {
    const char* name;
    const char* extensions;
    std::vector<std::string> validity;
  };
  const std::vector<Leaf> leaves = {
      {"localhost", "localhost_ext", {"-days", "3"}},
      {"other", "other_ext", {"-days", "3"}},
      {"expired", "localhost_ext", {"-startdate", "20200101000000Z", "-enddate", "20200201000000Z"}},
  };
  for (const Leaf& l : leaves) {
    const std::string n = l.name;
    step(n + " request", Join({"req", "-new", "-config", "ca.cnf", "-keyout", n + ".key", "-out",
                               n + ".csr", "-subj", "/CN=" + n},
                              kNewKey));
    step(n + " certificate", Join({"ca", "-batch", "-notext", "-config", "ca.cnf", "-extensions",
                                   l.extensions, "-in", n + ".csr", "-out", n + ".pem"},
                                  l.validity));
  }
  step("the self-signed certificate",
       Join({"req", "-x509", "-config", "ca.cnf", "-extensions", "localhost_ext", "-keyout",
             "self.key", "-out", "self.pem", "-days", "3", "-subj", "/CN=localhost"},
            kNewKey));
}

}  // namespace qs::test
