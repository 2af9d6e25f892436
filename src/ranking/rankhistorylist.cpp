#include "ranking/rankhistorylist.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>

#include "app/text.h"
#include "platform/regional.h"

namespace qs {

namespace {

constexpr const char* kHeadings[] = {"Date", "Engine", "Keyword", "Best Position", "Change"};

void AppendCsvField(std::string& line, const std::string& text) {
  if (text.find_first_of(",\"") == std::string::npos &&
      (text.empty() || (text.front() != ' ' && text.back() != ' '))) {
    line += text;
    return;
  }
  line += '"';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

}  // namespace

void TRankHistory::Load(const std::string& path) { Set(ReadRankHistory(path)); }

void TRankHistory::Set(TRankHistoryFile file) {
  checks_ = std::move(file.checks);
  skipped_ = file.skipped;
  // Lines are appended as checks finish, but a clock set back or a hand edit may put them
  // out of order; the changes are meant from one check to the next in time.
  std::stable_sort(checks_.begin(), checks_.end(),
                   [](const TRankCheck& a, const TRankCheck& b) { return a.when < b.when; });
  change_.assign(checks_.size(), TRankChange::First);
  places_.assign(checks_.size(), 0);
  std::map<std::pair<std::string, std::string>, int> last;  // engine, keyword -> best
  for (size_t i = 0; i < checks_.size(); ++i) {
    const TRankCheck& c = checks_[i];
    const int best = c.Best();
    auto [it, first] = last.try_emplace({c.engine, c.keyword}, best);
    if (first) continue;
    const int previous = std::exchange(it->second, best);
    if (previous == 0) {
      change_[i] = best == 0 ? TRankChange::StillMissing : TRankChange::Found;
    } else if (best == 0) {
      change_[i] = TRankChange::Lost;
    } else if (best == previous) {
      change_[i] = TRankChange::Same;
    } else {
      change_[i] = best < previous ? TRankChange::Better : TRankChange::Worse;
      places_[i] = std::abs(previous - best);
    }
  }
  SelectRows();
}

std::vector<std::string> TRankHistory::Keywords() const {
  std::set<std::string> distinct;
  for (const TRankCheck& c : checks_) distinct.insert(c.keyword);
  std::vector<std::string> out(distinct.begin(), distinct.end());
  std::stable_sort(out.begin(), out.end(),
                   [](const std::string& a, const std::string& b) { return LessIgnoreCase(a, b); });
  return out;
}

void TRankHistory::SelectKeyword(std::string keyword) {
  keyword_ = std::move(keyword);
  SelectRows();
}

void TRankHistory::SelectAllKeywords() {
  keyword_.reset();
  SelectRows();
}

void TRankHistory::SelectRows() {
  rows_.clear();
  for (size_t i = 0; i < checks_.size(); ++i)
    if (!keyword_ || checks_[i].keyword == *keyword_)
      rows_.push_back({i, change_[i], places_[i]});
}

std::string TRankHistory::Cell(size_t row, int column) const {
  const TRankHistoryRow& r = rows_[row];
  const TRankCheck& c = checks_[r.check];
  switch (column) {
    case kDate:
      return regional::FormatDate(c.when.date()) + " " + regional::FormatTime(c.when.time());
    case kEngine: return c.engine;
    case kKeyword: return c.keyword;
    case kBest: return c.Best() == 0 ? "-" : std::to_string(c.Best());
    case kChange:
      switch (r.change) {
        case TRankChange::Better: return "+" + std::to_string(r.places);
        case TRankChange::Worse: return "-" + std::to_string(r.places);
        case TRankChange::Same: return "0";
        case TRankChange::Found: return language_.Lookup("433");
        case TRankChange::Lost: return language_.Lookup("434");
        case TRankChange::First:
        case TRankChange::StillMissing: return {};
      }
      return {};
    default: return {};
  }
}

int TRankHistory::Direction(size_t row) const {
  switch (rows_[row].change) {
    case TRankChange::Better:
    case TRankChange::Found: return 1;
    case TRankChange::Worse:
    case TRankChange::Lost: return -1;
    default: return 0;
  }
}

std::string TRankHistory::Heading(int column) { return kHeadings[column]; }

std::string TRankHistory::Csv() const {
  std::string out;
  for (int c = 0; c < kColumns; ++c) {
    if (c > 0) out += ',';
    out += Heading(c);
  }
  out += '\n';
  for (size_t r = 0; r < rows_.size(); ++r) {
    for (int c = 0; c < kColumns; ++c) {
      if (c > 0) out += ',';
      AppendCsvField(out, Cell(r, c));
    }
    out += '\n';
  }
  return out;
}

std::optional<TRankBest> TRankHistory::BestEver() const {
  std::optional<TRankBest> best;
  for (const TRankHistoryRow& r : rows_) {
    const TRankCheck& c = checks_[r.check];
    if (c.Best() > 0 && (!best || c.Best() < best->position))
      best = TRankBest{c.Best(), c.engine, c.when};
  }
  return best;
}

TRankChart TRankHistory::Chart() const {
  TRankChart chart;
  std::map<std::string, size_t> lineOf;
  std::vector<bool> inGap;  // by line: the last check of the engine found nothing
  bool any = false;
  for (const TRankHistoryRow& r : rows_) {
    const TRankCheck& c = checks_[r.check];
    auto [it, added] = lineOf.try_emplace(c.engine, chart.lines.size());
    if (added) {
      chart.lines.push_back({c.engine, {}});
      inGap.push_back(true);
    }
    TRankChartLine& line = chart.lines[it->second];
    if (c.Best() == 0) {
      inGap[it->second] = true;
      continue;
    }
    if (inGap[it->second]) line.segments.emplace_back();
    inGap[it->second] = false;
    const qint64 msecs = c.when.toMSecsSinceEpoch();
    line.segments.back().push_back({msecs, c.Best()});
    ++chart.points;
    chart.worst = any ? std::max(chart.worst, c.Best()) : c.Best();
    chart.first = any ? std::min(chart.first, msecs) : msecs;
    chart.last = any ? std::max(chart.last, msecs) : msecs;
    any = true;
  }
  std::stable_sort(chart.lines.begin(), chart.lines.end(),
                   [](const TRankChartLine& a, const TRankChartLine& b) {
                     return LessIgnoreCase(a.engine, b.engine);
                   });
  return chart;
}

}  // namespace qs
