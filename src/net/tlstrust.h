// What an https connection trusts: the system's store of certificate authorities plus the
// certificates of one extra PEM file, the [Security] cafile setting (for a company proxy
// that inspects TLS, or a test authority). There is deliberately no way to switch the
// certificate check off.
//
// The extra file is one setting of the whole program: every client takes it, whichever
// window or command started the request.
#pragma once

#include <QSslConfiguration>
#include <string>

namespace qs {

// The extra file's path; empty for none. Its certificates are read again whenever the
// file changes.
void SetExtraCaFile(std::string path);
const std::string& ExtraCaFile();

// The configuration for a client connection: TLS 1.2 or newer, the peer's certificate
// checked, the system's authorities and the extra file's. False, with `problem` set, when
// TLS is not available or the extra file cannot be read or holds no certificate.
bool ClientTlsConfiguration(QSslConfiguration& config, std::string& problem);

}  // namespace qs
