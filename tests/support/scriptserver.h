// A loopback HTTP peer that answers from a script, for exact-byte protocol tests.
//
// Every accepted connection takes the next script (the last one repeats once the list is
// used up). The server first collects the request: the header up to its empty line, then
// as many body bytes as its Content-Length names. Then it runs the script's steps. Every
// connection's request bytes are recorded.
//
// With a certificate the server speaks TLS: the request is recorded as decrypted, and the
// script's bytes are written inside TLS.
#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/testca.h"

namespace qs::test {

struct ScriptStep {
  enum Kind { Write, Pause, Close, Reset, Hang, WriteForever };
  Kind kind;
  std::string bytes;  // Write, WriteForever (repeated)
  int ms = 0;         // Pause
};

// Steps, for readable tables: Write("..."), Pause(20), Close(), ...
inline ScriptStep Write(std::string bytes) { return {ScriptStep::Write, std::move(bytes)}; }
inline ScriptStep Pause(int ms) { return {ScriptStep::Pause, {}, ms}; }
inline ScriptStep Close() { return {ScriptStep::Close, {}}; }
inline ScriptStep Reset() { return {ScriptStep::Reset, {}}; }
inline ScriptStep Hang() { return {ScriptStep::Hang, {}}; }
// Writes `bytes` again and again until the client goes away.
inline ScriptStep WriteForever(std::string bytes) {
  return {ScriptStep::WriteForever, std::move(bytes)};
}

using Script = std::vector<ScriptStep>;

// A QTcpServer whose connections can be TLS server sockets.
class ScriptTcpServer : public QTcpServer {
 public:
  std::optional<CertAndKey> tls;

 protected:
  void incomingConnection(qintptr descriptor) override;
};

class ScriptServer {
 public:
  // Listens on 127.0.0.1, on a free port.
  explicit ScriptServer(std::vector<Script> scripts = {},
                        std::optional<CertAndKey> tls = std::nullopt);
  ~ScriptServer();

  void SetScripts(std::vector<Script> scripts) { scripts_ = std::move(scripts); }
  // When false, the script starts at once, without waiting for the request.
  void SetWaitForRequest(bool wait) { waitForRequest_ = wait; }
  uint16_t Port() const { return server_.serverPort(); }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(Port()); }
  std::string TlsBase(const std::string& host = "localhost") const {
    return "https://" + host + ":" + std::to_string(Port());
  }

  // The request bytes of every connection so far, in the order they were accepted.
  std::vector<std::string> Requests() const;
  int Connections() const { return static_cast<int>(connections_.size()); }
  // Bytes written by WriteForever steps, all connections together.
  int64_t ForeverBytes() const { return foreverBytes_; }

 private:
  struct Connection;
  void Accept();
  void Received(Connection& c);
  void RunSteps(Connection& c);
  void Pump(Connection& c);

  ScriptTcpServer server_;
  std::vector<Script> scripts_;
  std::vector<std::unique_ptr<Connection>> connections_;
  bool waitForRequest_ = true;
  int64_t foreverBytes_ = 0;
};

}  // namespace qs::test
