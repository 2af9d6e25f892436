#include "indexnow/indexnowkey.h"

#include <QRandomGenerator>

namespace qs {

std::string IndexNowKeyProblem(std::string_view key) {
  if (key.size() < kIndexNowKeyMin || key.size() > kIndexNowKeyMax)
    return "an IndexNow key has 8 to 128 characters; this one has " + std::to_string(key.size());
  for (char c : key) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '-';
    if (!allowed)
      return "an IndexNow key holds only a-z, A-Z, 0-9 and \"-\"; this one holds \"" +
             std::string(1, c) + "\"";
  }
  return {};
}

std::string GenerateIndexNowKey() {
  static constexpr char kDigits[] = "0123456789abcdef";
  quint32 words[4];
  QRandomGenerator::system()->fillRange(words);
  std::string key;
  for (quint32 word : words)
    for (int shift = 28; shift >= 0; shift -= 4) key += kDigits[(word >> shift) & 0xF];
  return key;
}

std::string IndexNowKeyFileName(std::string_view key) { return std::string(key) + ".txt"; }

std::string IndexNowKeyFileText(std::string_view key) { return std::string(key); }

bool IndexNowKeyFileMatches(std::string_view body, std::string_view key) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!body.empty() && blank(body.front())) body.remove_prefix(1);
  while (!body.empty() && blank(body.back())) body.remove_suffix(1);
  return !key.empty() && body == key;
}

}  // namespace qs
