// The sections of an INI store, in file order, each with its lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/text.h"

namespace qs {

// The hash of a key with its ASCII letters lower-cased: lines are told apart by it before
// their keys are compared.
uint32_t KeyHash(std::string_view key);

// One line of a section. `eq` is the position of the first "=" (the end of the key), or
// kNoKey for a line without "=", which stays in the section but never matches a key. The text
// lives in the store that holds the line (its file buffer or a line it made).
struct TIniLine {
  static constexpr uint32_t kNoKey = UINT32_MAX;
  std::string_view text;
  uint32_t eq = kNoKey;
  uint32_t hash = 0;

  TIniLine() = default;
  explicit TIniLine(std::string_view t) : text(t) {
    auto p = text.find('=');
    eq = p == std::string_view::npos ? kNoKey : static_cast<uint32_t>(p);
    if (eq != kNoKey) hash = KeyHash(text.substr(0, eq));
  }
  std::string_view Key() const { return eq == kNoKey ? std::string_view() : text.substr(0, eq); }
  bool HasKey(std::string_view key, uint32_t keyHash) const {
    return hash == keyHash && eq == key.size() && EqualsIgnoreCase(text.substr(0, eq), key);
  }
};

struct TIniSection {
  std::string name;  // exactly as first seen, letter case included
  std::vector<TIniLine> lines;

  // Index of the first line whose key equals `key` (letter case ignored), or -1.
  int FindLine(std::string_view key) const { return FindLine(key, KeyHash(key)); }
  int FindLine(std::string_view key, uint32_t keyHash) const {
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i].HasKey(key, keyHash)) return static_cast<int>(i);
    return -1;
  }
};

class TSectionList {
 public:
  // Index of the section named `name` (letter case ignored), or -1. The search starts where
  // the previous successful search ended, runs to the end and wraps to the start.
  int IndexOf(std::string_view name);

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  TIniSection& operator[](int i) { return items_[static_cast<size_t>(i)]; }
  const TIniSection& operator[](int i) const { return items_[static_cast<size_t>(i)]; }
  int Append(std::string name);
  void Remove(int i);
  void Clear();
  std::vector<TIniSection>& Items() { return items_; }
  const std::vector<TIniSection>& Items() const { return items_; }

  // Drops every section whose name occurred earlier in the list (letter case ignored), with
  // its lines. True when any section was dropped.
  bool RemoveDuplicates();

 private:
  std::vector<TIniSection> items_;
  int lastFound_ = 0;
};

}  // namespace qs
