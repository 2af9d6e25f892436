#include "spider/importlog.h"

namespace qs {

void TImportLog::Add(std::string line, bool trim) {
  size_t removed = 0;
  while (trim && lines_.size() > kKeptLines) {
    lines_.pop_front();
    ++removed;
  }
  lines_.push_back(std::move(line));
  if (OnChange) OnChange(removed, lines_.back());
}

}  // namespace qs
