// The run queue: the entries in insertion order, how an entry is made from its project file
// and the texts of its seven lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"
#include "app/langtable.h"
#include "submit/runentry.h"

namespace qs {

class TEngineCatalogue;

// Domain and project back from a node's text: the text before the first " [", and the text
// between the first "[" and the first "]".
std::string DomainOfDisplay(std::string_view text);
std::string ProjectOfDisplay(std::string_view text);

class RunQueue {
 public:
  RunQueue(const TAppFolder& folder, const TLanguageTable& language, TEngineCatalogue& catalogue)
      : folder_(folder), language_(language), catalogue_(catalogue) {}

  // An entry for the project, read from its project file, in state waiting (or waiting
  // (scheduled)), not yet in the queue.
  RunEntry MakeEntry(const std::string& domain, const std::string& project, bool scheduled) const;

  // True when some node's text contains domain + " [" + project + "]".
  bool Contains(std::string_view domain, std::string_view project) const;

  void Append(RunEntry entry) { entries_.push_back(std::move(entry)); }
  void Remove(size_t index) { entries_.erase(entries_.begin() + static_cast<long>(index)); }
  void Clear() { entries_.clear(); }
  std::vector<RunEntry>& Entries() { return entries_; }
  const std::vector<RunEntry>& Entries() const { return entries_; }
  // The first entry waiting or waiting (scheduled), or -1.
  int NextWaiting() const;

  // The status line of a state.
  std::string StatusText(TEntryState state, bool scheduledStart = false) const;
  // Lines 3 to 5 after an answer of that class was counted.
  std::string OkLine(long long sum) const;
  std::string FailedLine(long long sum) const;
  std::string TimeoutLine(long long sum) const;

 private:
  const TAppFolder& folder_;
  const TLanguageTable& language_;
  TEngineCatalogue& catalogue_;
  std::vector<RunEntry> entries_;
};

}  // namespace qs
