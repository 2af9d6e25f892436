// The manual engine list \data\datam.czc: engines the user submits by hand, three values a
// line (name, home page, submission page).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qs {

inline constexpr std::string_view kManualListFile = "\\data\\datam.czc";

struct TManualEngine {
  std::string name;
  std::string homePage;
  std::string submitPage;
  bool operator==(const TManualEngine&) const = default;
};

// One row per line of the file, in file order. Throws IoError "Cannot open file " + path
// when the file is missing or cannot be read.
std::vector<TManualEngine> LoadManualList(const std::string& path);

// The separator of a list: a comma, unless the first two lines hold none and both hold one
// of ";", "#", tab or "|" (the first of these that both hold).
char ManualListSeparator(const std::vector<std::string_view>& lines);

// The values of one line: separated by `separator`; a value may be enclosed in double
// quotes, in which a doubled quote stands for one.
std::vector<std::string> SplitManualLine(std::string_view line, char separator);

}  // namespace qs
