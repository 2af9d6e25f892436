#include "schedule/schedulerlog.h"

namespace qs {

void TSchedulerLog::Add(std::string line) {
  lines_.push_back(std::move(line));
  if (OnLogLine) OnLogLine(lines_.back());
}

void TSchedulerLog::Clear() {
  lines_.clear();
  if (OnLogCleared) OnLogCleared();
}

}  // namespace qs
