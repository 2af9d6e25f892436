#include "store/sectionlist.h"

#include <algorithm>
#include <unordered_set>

#include "app/text.h"

namespace qs {

uint32_t KeyHash(std::string_view key) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (char c : key) h = (h ^ static_cast<unsigned char>(AsciiLower(c))) * 16777619u;
  return h;
}



int TSectionList::IndexOf(std::string_view name) {
  const int n = Count();
  if (n == 0) return -1;
  if (lastFound_ >= n) lastFound_ = 0;
  for (int k = 0, i = lastFound_; k < n; ++k, i = (i + 1 == n) ? 0 : i + 1) {
    if (EqualsIgnoreCase(items_[static_cast<size_t>(i)].name, name)) {
      lastFound_ = i;
      return i;
    }
  }
  return -1;
}

int TSectionList::Append(std::string name) {
  items_.push_back(TIniSection{std::move(name), {}});
  return Count() - 1;
}

void TSectionList::Remove(int i) {
  items_.erase(items_.begin() + i);
  if (lastFound_ >= Count()) lastFound_ = 0;
}

void TSectionList::Clear() {
  items_.clear();
  lastFound_ = 0;
}

bool TSectionList::RemoveDuplicates() {
  // The first occurrence of a name (letter case ignored) survives with its lines.
  std::unordered_set<std::string> seen;
  seen.reserve(items_.size() * 2);
  std::vector<bool> drop(items_.size(), false);
  bool any = false;
  for (size_t i = 0; i < items_.size(); ++i) {
    std::string lower = items_[i].name;
    for (char& c : lower) c = AsciiLower(c);
    if (!seen.insert(std::move(lower)).second) drop[i] = any = true;
  }
  if (!any) return false;
  size_t out = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (drop[i]) continue;
    if (out != i) items_[out] = std::move(items_[i]);
    ++out;
  }
  items_.resize(out);
  lastFound_ = 0;
  return true;
}

}  // namespace qs
