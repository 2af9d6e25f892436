#include "ranking/rankenginelist.h"

#include <algorithm>

#include "app/text.h"
#include "store/biginifile.h"

namespace qs {

void TRankEngineList::Fill(const std::vector<std::string>& lines) {
  names_.clear();
  for (const auto& line : lines)
    if (line.find_first_not_of(' ') != std::string::npos) names_.push_back(line);
  std::stable_sort(names_.begin(), names_.end(),
                   [](const std::string& a, const std::string& b) { return LessIgnoreCase(a, b); });
  checked_.assign(names_.size(), false);
  Changed();
}

void TRankEngineList::Load(const TAppFolder& folder) {
  TBigIniFile ini(folder.Path(kRankingFile));
  std::vector<std::string> lines;
  ini.ReadSectionLines("List", lines);
  ini.Close();
  Fill(lines);
}

void TRankEngineList::SetChecked(size_t i, bool checked) {
  if (i >= checked_.size() || checked_[i] == checked) return;
  checked_[i] = checked;
  Changed();
}

void TRankEngineList::SelectAll() {
  checked_.assign(names_.size(), true);
  Changed();
}

void TRankEngineList::DeselectAll() {
  checked_.assign(names_.size(), false);
  Changed();
}

bool TRankEngineList::AnyChecked() const {
  return std::find(checked_.begin(), checked_.end(), true) != checked_.end();
}

int TRankEngineList::NextChecked(size_t from) const {
  for (size_t i = from; i < checked_.size(); ++i)
    if (checked_[i]) return static_cast<int>(i);
  return -1;
}

int TRankEngineList::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < names_.size(); ++i)
    if (EqualsIgnoreCase(names_[i], name)) return static_cast<int>(i);
  return -1;
}

}  // namespace qs
