// Detached Ed25519 signatures of the update archives, checked with OpenSSL's libcrypto.
//
// The update server offers beside each archive a file of the same name followed by ".sig"
// holding the 64-byte Ed25519 signature of the archive's bytes (raw, not encoded). The
// program trusts one public key: the publisher's, built in when the program is compiled
// (CMake cache variable QS_UPDATE_PUBLIC_KEY, 64 hexadecimal digits). There is no way to
// change it at run time; code that must check with another key (the tests) hands its own key
// to the objects that check, which take it as a constructor argument.
#pragma once

#include <array>
#include <string_view>

namespace qs {

inline constexpr size_t kSignatureBytes = 64;
inline constexpr std::string_view kSignatureSuffix = ".sig";

using TPublicKey = std::array<unsigned char, 32>;

// The publisher's key, built in.
const TPublicKey& PublisherKey();

// True when `signature` is a valid Ed25519 signature of `message` under `key`.
bool VerifySignature(const TPublicKey& key, std::string_view message, std::string_view signature);

}  // namespace qs
