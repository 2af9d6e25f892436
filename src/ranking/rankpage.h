// The text work on one received result page: rejoining its lines, the engine's clean-up,
// marking the first ten results and finding the results that point to the checked URL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qs {

inline constexpr int kResultsPerPage = 10;

// The body split into lines (ending at CR LF, LF or CR) and joined again with CR LF after
// every line. An empty body stays empty.
std::string JoinPageLines(std::string_view body);

// Replaces every occurrence of each item of `removeList` with `replacement`, case-sensitive.
// Each item is followed by a comma; text after the last comma is not an item. An item
// whose replacement would make the page more than kMaxCleanUpGrowth bytes longer than it
// was received is skipped: each pass is a whole-page search, and a replacement longer than
// its item could otherwise multiply the page with every item.
inline constexpr size_t kMaxCleanUpGrowth = 1024u * 1024u;
void CleanPage(std::string& page, std::string_view removeList, std::string_view replacement);

// "<results" + n + ">".
std::string ResultMark(int n);

struct TMarkedPage {
  std::string text;           // the page with the first ten markers replaced by their marks
  std::vector<size_t> marks;  // where mark n (index n-1) begins in `text`
};

// Replaces the first ten occurrences of `marker`, in page order, with the marks 1 to 10.
// Each search starts after the previous mark, so a marker that occurs inside a mark is not
// found there again. An empty marker marks nothing.
TMarkedPage MarkResults(std::string_view page, std::string_view marker);

// The numbers n (1 to 10, ascending) whose mark is immediately followed by `url`
// (case-sensitive: the result's address must begin with the whole of `url`). Only the marks
// made by MarkResults count: a "<results3>" that the page itself contains is no result.
std::vector<int> MatchResults(const TMarkedPage& page, std::string_view url);

}  // namespace qs
