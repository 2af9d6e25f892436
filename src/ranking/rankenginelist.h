// The ranking engine list: the names of the section [List] of \data\ranking.czc, sorted
// ignoring case, each with a check mark. Check marks are not stored; every fill clears them.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"

namespace qs {

inline constexpr std::string_view kRankingFile = "\\data\\ranking.czc";

class TRankEngineList {
 public:
  // The raw lines of [List]; lines of blanks only name no engine and are left out.
  void Fill(const std::vector<std::string>& lines);
  // Reads [List] of the application folder's ranking file and fills the list (after a
  // database update has replaced the file). Throws IoError when the file cannot be read.
  void Load(const TAppFolder& folder);

  size_t Count() const { return names_.size(); }
  const std::string& Name(size_t i) const { return names_[i]; }
  bool Checked(size_t i) const { return checked_[i]; }
  void SetChecked(size_t i, bool checked);
  void SelectAll();
  void DeselectAll();
  bool AnyChecked() const;
  // The first checked entry at `from` or after it, or -1.
  int NextChecked(size_t from) const;
  // The entry of that name, letter case ignored, or -1.
  int IndexOf(std::string_view name) const;

  // The list was filled again or check marks changed.
  std::function<void()> OnChange;

 private:
  void Changed() const {
    if (OnChange) OnChange();
  }

  std::vector<std::string> names_;
  std::vector<bool> checked_;
};

}  // namespace qs
