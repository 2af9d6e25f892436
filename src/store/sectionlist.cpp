#include "store/sectionlist.h"

#include <algorithm>
#include <numeric>

#include "app/text.h"

namespace qs {

bool TIniLine::HasKey(std::string_view key) const {
  return eq == key.size() && EqualsIgnoreCase(std::string_view(text).substr(0, eq), key);
}

int TIniSection::FindLine(std::string_view key) const {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].HasKey(key)) return static_cast<int>(i);
  return -1;
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
  // Sort the positions by name (letter case ignored), then by position: in every run of equal
  // names all but the first position are later occurrences.
  std::vector<size_t> order(items_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) {
    return LessIgnoreCase(items_[a].name, items_[b].name);
  });
  std::vector<bool> drop(items_.size(), false);
  bool any = false;
  for (size_t k = 1; k < order.size(); ++k) {
    if (EqualsIgnoreCase(items_[order[k - 1]].name, items_[order[k]].name)) {
      drop[order[k]] = true;
      any = true;
    }
  }
  if (!any) return false;
  size_t out = 0;
  for (size_t i = 0; i < items_.size(); ++i)
    if (!drop[i]) {
      if (out != i) items_[out] = std::move(items_[i]);
      ++out;
    }
  items_.resize(out);
  lastFound_ = 0;
  return true;
}

}  // namespace qs
