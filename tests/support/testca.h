// A certificate authority made for one test with openssl, in a temporary folder, with the
// server certificates the TLS tests need. Nothing of it is kept after the test.
//
// A missing openssl is reported by Problem(), like a missing peer (QS_REQUIRE_PEER).
#pragma once

#include <string>
#include <vector>

#include "support/tempfolder.h"

namespace qs::test {

struct CertAndKey {
  std::string cert, key;  // paths of PEM files
};

class TestCa {
 public:
  TestCa();
  const std::string& Problem() const { return problem_; }

  // The authority's own certificate: the file a client trusts through [Security] cafile.
  std::string CaFile() const { return folder_.Path("ca.pem"); }
  // Signed by the authority, for localhost and 127.0.0.1, valid now.
  CertAndKey Localhost() const { return Pair("localhost"); }
  // Signed by the authority, for other.test only.
  CertAndKey OtherName() const { return Pair("other"); }
  // Signed by the authority, for localhost and 127.0.0.1, valid only in January 2020.
  CertAndKey Expired() const { return Pair("expired"); }
  // For localhost and 127.0.0.1, signed by its own key.
  CertAndKey SelfSigned() const { return Pair("self"); }

 private:
  CertAndKey Pair(const std::string& name) const {
    return {folder_.Path(name + ".pem"), folder_.Path(name + ".key")};
  }
  std::string Run(const std::string& what, const std::vector<std::string>& args);

  TempFolder folder_;
  std::string problem_;
};

}  // namespace qs::test
