// The practice engine server: a small HTTP/1.0 server on loopback that plays many engines at
// once. The first segment of the request path chooses how it answers; every request it
// receives is kept, and written to the log file when one is given. With a certificate and
// its key it answers over TLS (https://) instead.
#pragma once

#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QTcpSocket;

namespace qs::practice {

// The behaviours, by the path's first segment:
//   /ok        200 OK                       /moved     301 with a Location
//   /found     302 with a Location          /missing   404 Not Found
//   /error     500 Internal Server Error    /timeout   408 Request Timeout
//   /noreason  a status line without reason phrase ("HTTP/1.0 200")
//   /slow      200 OK after SlowMs()        /silent    no answer at all; the connection stays open
//   /close     the connection closed before any byte
//   /html      no header: the answer begins with "<HTML>"
// Any other path is answered 404 Not Found, except the result pages of the ranking check:
//   /rank      200 OK with a result page of ten results (RankPageOf)
inline constexpr std::string_view kBehaviours[] = {"ok",      "moved",  "found",  "missing",
                                                   "error",   "timeout", "noreason", "slow",
                                                   "silent",  "close",  "html"};

// One received request: its bytes as they arrived (request line, header lines, empty line,
// body) and the path it asked for.
struct TReceived {
  std::string bytes;
  std::string path;
};

// The listening socket: plain connections, or TLS server connections once a certificate
// is set.
class TPracticeListener : public QTcpServer {
 public:
  QList<QSslCertificate> chain;
  QSslKey key;

 protected:
  void incomingConnection(qintptr descriptor) override;
};

class TPracticeServer {
 public:
  TPracticeServer();
  ~TPracticeServer();

  // Listens on 127.0.0.1 (port 0: a free one). False when it cannot.
  bool Listen(uint16_t port = 0);
  uint16_t Port() const { return server_.serverPort(); }
  // http://127.0.0.1:PORT, or https://127.0.0.1:PORT over TLS.
  std::string Base() const;

  // Answers over TLS with the certificate (chain) and private key of these PEM files; call
  // before Listen(). False, with `problem` set, when either cannot be read.
  bool SetTls(const std::string& certFile, const std::string& keyFile, std::string& problem);
  // Every request is appended to this file as one record: a line "#request <n> <length>",
  // the request's bytes, and a line break.
  void SetLogFile(std::string path) { logFile_ = std::move(path); }
  void SetSlowMs(int ms) { slowMs_ = ms; }
  // Whether Received() keeps every request (on by default). A server of its own process
  // keeps none: only the log file tells what it received, and a long run stays small.
  void SetKeepReceived(bool keep) { keepReceived_ = keep; }
  int SlowMs() const { return slowMs_; }

  const std::vector<TReceived>& Received() const { return received_; }
  void ClearReceived() { received_.clear(); }
  // Connections still open (the silent ones among them).
  int OpenConnections() const;

  // The answer bytes of a behaviour ("" for those that send nothing).
  static std::string AnswerOf(std::string_view behaviour);
  // The answer to /rank?QUERY: ten results numbered from the query's `s` (default 1), each
  // after the marker <a class="title" href="; the one numbered `at` is the address `site`,
  // the others are addresses of other sites.
  static std::string RankPageOf(std::string_view query);
  // The log's records, read back.
  static std::vector<std::string> ReadLog(const std::string& path);

 private:
  struct Connection;
  void Accept();
  void Read(Connection& c);
  void Answer(Connection& c);
  void Log(const TReceived& r);

  TPracticeListener server_;
  std::vector<std::unique_ptr<Connection>> connections_;
  std::vector<TReceived> received_;
  std::string logFile_;
  int slowMs_ = 200;
  bool keepReceived_ = true;
  size_t receivedCount_ = 0;
};

}  // namespace qs::practice
