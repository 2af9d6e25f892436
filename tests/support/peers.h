// Real peers for the network tests: nginx as a web site and tinyproxy as an HTTP proxy with
// basic authentication, each started on a free loopback port with a configuration written
// into a temporary folder, and stopped when the object goes.
//
// A peer that is not installed makes the test skip outside CI; in CI (CI=true) it fails.
#pragma once

#include <QProcess>
#include <memory>
#include <string>
#include <vector>

#include "support/tempfolder.h"
#include "support/testca.h"

namespace qs::test {

uint16_t FreeLoopbackPort();
// True in CI, where a missing peer is a failure rather than a skip.
bool PeersRequired();

class NginxPeer {
 public:
  // The site: /page.html, /dir/index.html, /big.bin (1 MiB), /post (answers "posted
  // <method> <length>"), /old (301 to /page.html), /temp (302 to /dir/), /fail (500 with a
  // body), /to-tls (302 to /page.html of the first TLS server); anything else is nginx's
  // own 404 page. Each entry of `tls` adds a TLS server of the same site with that
  // certificate on a port of its own, with /to-plain (301 to the plain /page.html) and
  // every request's SNI name and request line in tls-access.log.
  explicit NginxPeer(std::vector<CertAndKey> tls = {});
  ~NginxPeer();
  // Empty when it runs; otherwise why not.
  const std::string& Problem() const { return problem_; }
  uint16_t Port() const { return port_; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  uint16_t TlsPort(size_t site = 0) const { return tlsPorts_.at(site); }
  std::string TlsBase(size_t site = 0, const std::string& host = "localhost") const {
    return "https://" + host + ":" + std::to_string(TlsPort(site));
  }
  // What the TLS servers logged, in order: the name the client sent with SNI ("-" for none)
  // and the request line.
  std::vector<std::string> TlsRequestLines() const;
  const TempFolder& Folder() const { return folder_; }

 private:
  TempFolder folder_;
  std::unique_ptr<QProcess> process_;
  uint16_t port_ = 0;
  std::vector<uint16_t> tlsPorts_;
  std::string problem_;
};

class TinyproxyPeer {
 public:
  // Basic authentication with `user` and `password`; connections from 127.0.0.1 only.
  TinyproxyPeer(const std::string& user, const std::string& password);
  ~TinyproxyPeer();
  const std::string& Problem() const { return problem_; }
  uint16_t Port() const { return port_; }
  // What tinyproxy logged so far.
  std::string Log() const { return folder_.Read("tinyproxy.log"); }

 private:
  TempFolder folder_;
  std::unique_ptr<QProcess> process_;
  uint16_t port_ = 0;
  std::string problem_;
};

}  // namespace qs::test

// Skips (outside CI) or fails (in CI) the current test when the peer does not run.
#define QS_REQUIRE_PEER(peer)                                                   \
  do {                                                                          \
    if (!(peer).Problem().empty()) {                                            \
      if (::qs::test::PeersRequired()) FAIL() << (peer).Problem();              \
      GTEST_SKIP() << (peer).Problem();                                         \
    }                                                                           \
  } while (0)
