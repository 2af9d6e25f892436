// The scheduler log: the read-only list of texts the scheduler reports, one a line.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qs {

class TSchedulerLog {
 public:
  void Add(std::string line);
  void Clear();
  const std::vector<std::string>& Lines() const { return lines_; }

  std::function<void(const std::string& line)> OnLogLine;  // a line was added
  std::function<void()> OnLogCleared;

 private:
  std::vector<std::string> lines_;
};

}  // namespace qs
