// The ranking history of a project: every finished check of one engine for one keyword, kept
// in ProjectKey + ".rnk" beside the project file.
//
// The file is comma-separated text, one check per line after a heading line:
//   Date,Time,Engine,Keyword,Depth,Positions,Result Page
// Date and time are in the regional formats of every stored date; Positions holds the
// positions found, ascending and separated by blanks (empty when the URL was not in the
// checked depth); Result Page is the address of the result page of the best hit. A field
// holding a comma, a double quote or a blank at either end is written between double quotes,
// with each double quote inside doubled.
#pragma once

#include <QDateTime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"
#include "platform/regional.h"

namespace qs {

inline constexpr std::string_view kRankHistoryHeadings =
    "Date,Time,Engine,Keyword,Depth,Positions,Result Page";

struct TRankCheck {
  QDateTime when;
  std::string engine, keyword;
  int depth = 0;               // the depth actually checked: pages × 10
  std::vector<int> positions;  // ascending; empty: not within the depth
  std::string resultUrl;       // the result page of the best hit; empty when none

  // The best (smallest) position, or 0 when the URL was not found.
  int Best() const { return positions.empty() ? 0 : positions.front(); }
};

// One line of the file, without its line end. Line breaks inside a field become blanks.
std::string RankCheckLine(const TRankCheck& check);

// Reads the lines of a history file with the regional formats worked out once.
class TRankLineReader {
 public:
  // The check a line holds, or nothing when the line cannot be read: a field count other
  // than seven, an unclosed quote, a date or time that is none, an empty engine, a depth or
  // position that is no whole number from 1 on.
  std::optional<TRankCheck> Read(std::string_view line) const;

 private:
  regional::TReader regional_;
  // Checks of one day stand together: the last date read is kept with its text.
  mutable std::string lastDateText_;
  mutable QDate lastDate_;
};

struct TRankHistoryFile {
  std::vector<TRankCheck> checks;  // in file order
  size_t skipped = 0;              // lines that could not be read (the heading not counted)
};

// Reads a history file; a missing file is an empty history. Throws IoError when the file
// exists but cannot be read.
TRankHistoryFile ReadRankHistory(const std::string& path);

// Appends checks to a history file (started with the heading line when new), rewriting it
// whole through the atomic writer. Throws IoError.
void AppendRankChecks(const std::string& path, const std::vector<TRankCheck>& checks);

// The history file of the project the checked URL belongs to (its domain name and listed
// name, as the project store names them), or an empty text when that project does not
// exist or the URL names none.
std::string RankHistoryPathFor(const TAppFolder& folder, std::string_view rankUrl);

}  // namespace qs
