// The ranking history as the History panel and the rank-history command show it: the checks
// in time order with the change of each since the previous check of the same engine and
// keyword, the rows of one keyword, the best position ever, and the data of the chart.
#pragma once

#include <QDateTime>
#include <optional>
#include <string>
#include <vector>

#include "app/langtable.h"
#include "ranking/rankhistory.h"

namespace qs {

enum class TRankChange {
  First,         // no earlier check of this engine and keyword
  Same,
  Better,        // a smaller position than last time
  Worse,
  Found,         // found after not being found last time
  Lost,          // not found after being found last time
  StillMissing,  // not found, as last time
};

struct TRankHistoryRow {
  size_t check = 0;  // index into Checks()
  TRankChange change = TRankChange::First;
  int places = 0;    // Better, Worse: by how many places
};

struct TRankChartPoint {
  qint64 msecs = 0;  // the check's moment, milliseconds since the epoch
  int position = 0;  // its best position
};

// One engine's line: runs of checks in which the URL was found; a check that did not find it
// ends a run, so the line has a gap there instead of a point at 0.
struct TRankChartLine {
  std::string engine;
  std::vector<std::vector<TRankChartPoint>> segments;
};

struct TRankChart {
  std::vector<TRankChartLine> lines;  // engines sorted by name, letter case ignored
  // The position axis, best at the top: from 1 to the worst position shown.
  int best = 1, worst = 1;
  qint64 first = 0, last = 0;  // the time axis: the first and the last point
  size_t points = 0;
};

struct TRankBest {
  int position = 0;
  std::string engine;
  QDateTime when;
};

class TRankHistory {
 public:
  enum TColumn { kDate, kEngine, kKeyword, kBest, kChange, kColumns };

  explicit TRankHistory(const TLanguageTable& language) : language_(language) {}

  // Reads the file (IoError when it exists and cannot be read); a missing file is empty.
  void Load(const std::string& path);
  void Set(TRankHistoryFile file);
  void Clear() { Set({}); }

  const std::vector<TRankCheck>& Checks() const { return checks_; }  // oldest first
  size_t Skipped() const { return skipped_; }
  // The keywords of the history, distinct, sorted ignoring letter case.
  std::vector<std::string> Keywords() const;

  // The rows shown: the checks of one keyword (letter case significant), or of every one.
  void SelectKeyword(std::string keyword);
  void SelectAllKeywords();
  const std::vector<TRankHistoryRow>& Rows() const { return rows_; }
  const TRankCheck& CheckOf(size_t row) const { return checks_[rows_[row].check]; }

  // The table's texts: "date time", engine, keyword, best position ("-" when not found),
  // change ("+3", "-2", "0", the texts of keys 430 "new" and 431 "lost", or empty).
  std::string Cell(size_t row, int column) const;
  // +1 for a row that went up (Better, Found), -1 for one that went down (Worse, Lost).
  int Direction(size_t row) const;
  static std::string Heading(int column);
  // The heading line and every row, comma-separated as the history file quotes fields.
  std::string Csv() const;

  // The best position of the shown rows, the earliest check that reached it.
  std::optional<TRankBest> BestEver() const;
  // Best position over time per engine for the shown rows.
  TRankChart Chart() const;

 private:
  void SelectRows();

  const TLanguageTable& language_;
  std::vector<TRankCheck> checks_;
  std::vector<TRankChange> change_;  // by check
  std::vector<int> places_;          // by check
  size_t skipped_ = 0;
  std::optional<std::string> keyword_;  // none: every keyword
  std::vector<TRankHistoryRow> rows_;
};

}  // namespace qs
