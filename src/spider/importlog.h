// The import monitor's log ("Import Status"): progress lines, the oldest trimmed away.
#pragma once

#include <deque>
#include <functional>
#include <string>

namespace qs {

class TImportLog {
 public:
  // Before each trimmed line is added, at most this many lines are kept.
  static constexpr size_t kKeptLines = 30;

  const std::deque<std::string>& Lines() const { return lines_; }

  // Adds a line; with `trim` the oldest lines are removed first until at most kKeptLines
  // remain.
  void Add(std::string line, bool trim);

  // `removed` oldest lines went, then `added` was appended.
  std::function<void(size_t removed, const std::string& added)> OnChange;

 private:
  std::deque<std::string> lines_;
};

}  // namespace qs
