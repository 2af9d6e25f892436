// What the updater tests share: a signing key of their own, cabinets built with Debian's
// gcab, cabinets put together byte by byte (for the hostile ones), and a listing of every
// file under a folder.
#pragma once

#include <gtest/gtest.h>
#include <fcntl.h>
#include <openssl/evp.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/signature.h"

namespace qs::test {

// An Ed25519 key made for one test.
class TestSigner {
 public:
  TestSigner() {
    EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr);
    EVP_PKEY_keygen_init(ctx);
    EVP_PKEY_keygen(ctx, &key_);
    EVP_PKEY_CTX_free(ctx);
    size_t length = key_public_.size();
    EVP_PKEY_get_raw_public_key(key_, key_public_.data(), &length);
  }
  ~TestSigner() { EVP_PKEY_free(key_); }
  TestSigner(const TestSigner&) = delete;
  TestSigner& operator=(const TestSigner&) = delete;

  const TPublicKey& Key() const { return key_public_; }
  std::string Sign(std::string_view message) const {
    std::string signature(kSignatureBytes, '\0');
    size_t length = signature.size();
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    EVP_DigestSignInit(ctx, nullptr, nullptr, nullptr, key_);
    EVP_DigestSign(ctx, reinterpret_cast<unsigned char*>(signature.data()), &length,
                   reinterpret_cast<const unsigned char*>(message.data()), message.size());
    EVP_MD_CTX_free(ctx);
    return signature;
  }

 private:
  EVP_PKEY* key_ = nullptr;
  TPublicKey key_public_{};
};

using Files = std::vector<std::pair<std::string, std::string>>;  // "/"-separated path, bytes

inline std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// A cabinet made by gcab from the files (stored with "\" separators), each file dated
// `modified` when it is valid. MSZIP-compressed unless `compress` is false.
inline std::string GcabArchive(const Files& files, bool compress = true,
                               const QDateTime& modified = {}) {
  QTemporaryDir dir;
  QStringList args{"-c"};
  if (compress) args << "-z";
  args << "out.cab";
  for (const auto& [path, bytes] : files) {
    const std::string full = dir.path().toStdString() + "/" + path;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << bytes;
    if (modified.isValid()) {
      const timespec t[2] = {{static_cast<time_t>(modified.toSecsSinceEpoch()), 0},
                             {static_cast<time_t>(modified.toSecsSinceEpoch()), 0}};
      ::utimensat(AT_FDCWD, full.c_str(), t, 0);
    }
    args << QString::fromStdString(path);
  }
  QProcess gcab;
  gcab.setWorkingDirectory(dir.path());
  gcab.start(QStringLiteral("gcab"), args);
  if (!gcab.waitForFinished(30000) || gcab.exitCode() != 0) {
    ADD_FAILURE() << "gcab failed: " << gcab.readAllStandardError().toStdString();
    return {};
  }
  return ReadAll(dir.path().toStdString() + "/out.cab");
}

// One entry of a cabinet put together by hand: each entry has a folder of its own holding
// one uncompressed data block with `data`, and declares `declared` bytes (-1: its size).
struct RawEntry {
  std::string name;
  std::string data;
  int64_t declared = -1;
  uint16_t attribs = 0x20;
  bool badChecksum = false;
};

inline void Put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}
inline void Put32(std::string& s, uint32_t v) {
  Put16(s, static_cast<uint16_t>(v & 0xFFFF));
  Put16(s, static_cast<uint16_t>(v >> 16));
}

inline std::string RawCabinet(const std::vector<RawEntry>& entries) {
  const uint32_t n = static_cast<uint32_t>(entries.size());
  uint32_t filesSize = 0;
  for (const auto& e : entries) filesSize += 16 + static_cast<uint32_t>(e.name.size()) + 1;
  const uint32_t coffFiles = 36 + 8 * n;
  uint32_t dataAt = coffFiles + filesSize;
  uint32_t total = dataAt;
  for (const auto& e : entries) total += 8 + static_cast<uint32_t>(e.data.size());

  std::string cab = "MSCF";
  Put32(cab, 0);
  Put32(cab, total);
  Put32(cab, 0);
  Put32(cab, coffFiles);
  Put32(cab, 0);
  cab += '\x03';
  cab += '\x01';
  Put16(cab, static_cast<uint16_t>(n));  // folders
  Put16(cab, static_cast<uint16_t>(n));  // files
  Put16(cab, 0);                         // flags
  Put16(cab, 0x1234);
  Put16(cab, 0);
  for (const auto& e : entries) {
    Put32(cab, dataAt);
    Put16(cab, 1);
    Put16(cab, 0);  // stored
    dataAt += 8 + static_cast<uint32_t>(e.data.size());
  }
  for (uint16_t i = 0; i < n; ++i) {
    const RawEntry& e = entries[i];
    Put32(cab, static_cast<uint32_t>(e.declared < 0 ? static_cast<int64_t>(e.data.size()) : e.declared));
    Put32(cab, 0);
    Put16(cab, i);
    Put16(cab, static_cast<uint16_t>((2024 - 1980) << 9 | 3 << 5 | 5));  // 2024-03-05
    Put16(cab, static_cast<uint16_t>(10 << 11 | 20 << 5 | 15));         // 10:20:30
    Put16(cab, e.attribs);
    cab += e.name;
    cab += '\0';
  }
  for (const auto& e : entries) {
    Put32(cab, e.badChecksum ? 0xDEADBEEF : 0);
    Put16(cab, static_cast<uint16_t>(e.data.size()));
    Put16(cab, static_cast<uint16_t>(e.data.size()));
    cab += e.data;
  }
  return cab;
}

// Every file and folder under `root` (links are listed, not followed), with the files' bytes.
inline std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> out;
  namespace fs = std::filesystem;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string rel = fs::relative(it->path(), root).string();
    if (it->is_symlink()) out[rel] = "-> " + fs::read_symlink(it->path()).string();
    else if (it->is_directory()) out[rel + "/"] = "";
    else out[rel] = ReadAll(it->path().string());
  }
  return out;
}

}  // namespace qs::test
