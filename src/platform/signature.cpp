#include "platform/signature.h"

#include <openssl/evp.h>

#include <memory>

#ifndef QS_UPDATE_PUBLIC_KEY
#error "QS_UPDATE_PUBLIC_KEY must name the publisher's Ed25519 public key"
#endif

namespace qs {
namespace {

constexpr unsigned char HexDigit(char c) {
  return static_cast<unsigned char>(c >= '0' && c <= '9'   ? c - '0'
                                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                           : 0xFF);
}

constexpr TPublicKey KeyFromHex(std::string_view hex) {
  TPublicKey key{};
  for (size_t i = 0; i < key.size(); ++i)
    key[i] = static_cast<unsigned char>(HexDigit(hex[2 * i]) << 4 | HexDigit(hex[2 * i + 1]));
  return key;
}

constexpr bool IsKeyText(std::string_view hex) {
  if (hex.size() != 64) return false;
  for (char c : hex)
    if (HexDigit(c) == 0xFF) return false;
  return true;
}

constexpr std::string_view kPublisherKeyText = QS_UPDATE_PUBLIC_KEY;
static_assert(IsKeyText(kPublisherKeyText), "QS_UPDATE_PUBLIC_KEY: 64 hexadecimal digits");

}  // namespace

const TPublicKey& PublisherKey() {
  static constexpr TPublicKey kKey = KeyFromHex(kPublisherKeyText);
  return kKey;
}

bool VerifySignature(const TPublicKey& key, std::string_view message, std::string_view signature) {
  if (signature.size() != kSignatureBytes) return false;
  std::unique_ptr<EVP_PKEY, void (*)(EVP_PKEY*)> pkey(
      EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, key.data(), key.size()),
      &EVP_PKEY_free);
  if (!pkey) return false;
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> ctx(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  if (!ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, nullptr, nullptr, pkey.get()) != 1)
    return false;
  return EVP_DigestVerify(ctx.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                          signature.size(),
                          reinterpret_cast<const unsigned char*>(message.data()),
                          message.size()) == 1;
}

}  // namespace qs
