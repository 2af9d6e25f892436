// The 36 columns of an engine record, in file order, with the record editor's caption key
// and the value a record started with Insert receives.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

struct TEngineColumn {
  std::string_view name;
  std::string_view captionKey;  // language key of the editor caption; empty when not shown
  std::string_view newValue;    // the value of a new record
  bool languageValue = false;   // a new record takes the language setting instead
};

std::span<const TEngineColumn> EngineColumns();
std::vector<std::string> EngineSchema();

// The number of sites a record stands for, from its e_count read as a whole number: a count
// below 0 or over 1,000,000,000 stands for the record alone (1). The run's sums and the
// catalogue's counters both weigh a record by this.
inline constexpr long long kMostSites = 1'000'000'000;
inline long long NetworkSize(long long count) { return count < 0 || count > kMostSites ? 1 : count; }

// The known values a record editor offers for a column (the stored value stays free text),
// or none for a column without a fixed set.
std::vector<std::string> EngineFieldChoices(std::string_view column);

}  // namespace qs
