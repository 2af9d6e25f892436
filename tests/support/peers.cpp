#include "support/peers.h"


#include <QElapsedTimer>
#include <algorithm>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <cstdlib>

namespace qs::test {

namespace {

std::string FindProgram(const char* name) {
  const QString found = QStandardPaths::findExecutable(name);
  if (!found.isEmpty()) return found.toStdString();
  return QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin", "/sbin"})
      .toStdString();
}

// Waits until something accepts on the port, the process ends, or the bound passes.
bool WaitForListener(QProcess& process, uint16_t port) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < 10000) {
    if (process.state() == QProcess::NotRunning) return false;
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    if (probe.waitForConnected(200)) {
      probe.abort();
      return true;
    }
    QThread::msleep(50);
  }
  return false;
}

void Stop(std::unique_ptr<QProcess>& process) {
  if (!process) return;
  if (process->state() != QProcess::NotRunning) {
    process->terminate();
    if (!process->waitForFinished(3000)) {
      process->kill();
      process->waitForFinished(3000);
    }
  }
  process.reset();
}

std::string Start(std::unique_ptr<QProcess>& process, const std::string& program,
                  const QStringList& args, uint16_t port, const std::string& log) {
  process = std::make_unique<QProcess>();
  process->setProcessChannelMode(QProcess::MergedChannels);
  process->start(QString::fromStdString(program), args);
  if (!process->waitForStarted(5000)) return program + " does not start";
  if (!WaitForListener(*process, port)) {
    const std::string output = process->readAll().toStdString();
    Stop(process);
    return program + " does not listen on port " + std::to_string(port) + ": " + output + log;
  }
  return {};
}

}  // namespace

uint16_t FreeLoopbackPort() {
  QTcpServer s;
  if (!s.listen(QHostAddress::LocalHost, 0)) return 0;
  return s.serverPort();
}

bool PeersRequired() {
  const char* ci = std::getenv("CI");
  return ci && std::string(ci) == "true";
}

NginxPeer::NginxPeer(std::vector<CertAndKey> tls) {
  const std::string nginx = FindProgram("nginx");
  if (nginx.empty()) {
    problem_ = "nginx is not installed (scripts/bootstrap installs it)";
    return;
  }
  port_ = FreeLoopbackPort();
  for (size_t i = 0; i < tls.size(); ++i) {
    uint16_t p = FreeLoopbackPort();
    while (p == port_ || std::find(tlsPorts_.begin(), tlsPorts_.end(), p) != tlsPorts_.end())
      p = FreeLoopbackPort();
    tlsPorts_.push_back(p);
  }
  const std::string d = folder_.Root();
  folder_.Write("www/page.html", "<html><body>page</body></html>\n");
  folder_.Write("www/dir/index.html", "<html><body>dir index</body></html>\n");
  folder_.Write("www/big.bin", std::string(1024 * 1024, 'B'));
  const std::string port = std::to_string(port_);
  const std::string site =
      "    root " + d + "/www;\n"
      "    location = /post { return 200 \"posted $request_method $content_length\"; }\n"
      "    location = /old { return 301 /page.html; }\n"
      "    location = /temp { return 302 /dir/; }\n"
      "    location = /fail { return 500 \"failure body\"; }\n";
  std::string tlsServers;
  for (size_t i = 0; i < tls.size(); ++i) {
    tlsServers += "  server {\n"
                  "    listen 127.0.0.1:" + std::to_string(tlsPorts_[i]) + " ssl;\n"
                  "    ssl_certificate " + tls[i].cert + ";\n"
                  "    ssl_certificate_key " + tls[i].key + ";\n"
                  "    ssl_session_cache off;\n"
                  "    ssl_session_tickets off;\n"
                  "    access_log " + d + "/tls-access.log requestline;\n" + site +
                  "    location = /to-plain { return 301 http://127.0.0.1:" + port +
                  "/page.html; }\n"
                  "  }\n";
  }
  const std::string toTls =
      tls.empty() ? std::string()
                  : "    location = /to-tls { return 302 https://localhost:" +
                        std::to_string(tlsPorts_[0]) + "/page.html; }\n";
  folder_.Write("nginx.conf",
                "daemon off;\nmaster_process off;\nworker_processes 1;\n"
                "pid " + d + "/nginx.pid;\nerror_log " + d + "/error.log warn;\n"
                "events { worker_connections 1024; }\n"
                "http {\n"
                "  access_log off;\n"
                "  log_format requestline '$ssl_server_name $request';\n"
                "  client_body_temp_path " + d + "/body;\n"
                "  proxy_temp_path " + d + "/proxy;\n"
                "  fastcgi_temp_path " + d + "/fastcgi;\n"
                "  uwsgi_temp_path " + d + "/uwsgi;\n"
                "  scgi_temp_path " + d + "/scgi;\n"
                "  default_type text/html;\n"
                "  server {\n"
                "    listen 127.0.0.1:" + port + ";\n" + site + toTls +
                "  }\n" + tlsServers +
                "}\n");
  problem_ = Start(process_, nginx,
                   {"-p", QString::fromStdString(d), "-c", QString::fromStdString(d + "/nginx.conf"),
                    "-e", QString::fromStdString(d + "/error.log")},
                   port_, folder_.Read("error.log"));
}

NginxPeer::~NginxPeer() { Stop(process_); }

std::vector<std::string> NginxPeer::TlsRequestLines() const {
  std::vector<std::string> lines;
  const std::string log = folder_.Read("tls-access.log");
  for (size_t at = 0; at < log.size();) {
    const size_t end = std::min(log.find('\n', at), log.size());
    if (end > at) lines.push_back(log.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

TinyproxyPeer::TinyproxyPeer(const std::string& user, const std::string& password) {
  const std::string tinyproxy = FindProgram("tinyproxy");
  if (tinyproxy.empty()) {
    problem_ = "tinyproxy is not installed (scripts/bootstrap installs it)";
    return;
  }
  port_ = FreeLoopbackPort();
  const std::string d = folder_.Root();
  folder_.Write("tinyproxy.conf", "Port " + std::to_string(port_) +
                                      "\nListen 127.0.0.1\nTimeout 30\n"
                                      "LogFile \"" + d + "/tinyproxy.log\"\nLogLevel Info\n"
                                      "MaxClients 100\nAllow 127.0.0.1\n"
                                      "BasicAuth " + user + " " + password + "\n"
                                      "DisableViaHeader Yes\n");
  problem_ = Start(process_, tinyproxy, {"-d", "-c", QString::fromStdString(d + "/tinyproxy.conf")},
                   port_, folder_.Read("tinyproxy.log"));
}

TinyproxyPeer::~TinyproxyPeer() { Stop(process_); }

}  // namespace qs::test
