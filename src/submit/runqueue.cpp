#include "submit/runqueue.h"

#include "engines/enginecatalogue.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "store/biginifile.h"

namespace qs {

namespace {

constexpr std::string_view kCancelLink =
    "<a href=\"cancel\" value=\"cancel\"><FONT color=\"#FF0000\"><b>";
constexpr std::string_view kCancelLinkEnd = "</b></FONT></a>";

}  // namespace

std::string DomainOfDisplay(std::string_view text) {
  return std::string(text.substr(0, text.find(" [")));
}

std::string ProjectOfDisplay(std::string_view text) {
  const size_t open = text.find('[');
  if (open == std::string_view::npos) return {};
  const size_t close = text.find(']');
  if (close == std::string_view::npos || close < open) return std::string(text.substr(open + 1));
  return std::string(text.substr(open + 1, close - open - 1));
}

RunEntry RunQueue::MakeEntry(const std::string& domain, const std::string& project,
                             bool scheduled) const {
  const std::string key = ProjectKeyOf(project);
  TBiggerIniFile file(TDomainStore(folder_).ProjectFile(domain, key));
  const bool engines = file.ReadText(key, "submitengines", "0") != "0";
  const bool ffa = file.ReadText(key, "submitffa", "0") != "0";
  const bool networks = file.ReadText(key, "submitnetworks", "0") != "0";
  const std::string custom = file.ReadText(key, "submitcustom", "");
  const bool report = file.ReadText(key, "genreport", "-1") != "0";
  file.Close();

  RunEntry e;
  e.domain = domain;
  e.project = project;
  e.state = scheduled ? TEntryState::WaitingScheduled : TEntryState::Waiting;
  e.engines = engines;
  e.ffa = ffa;
  e.networks = networks;
  e.report = report;
  e.mode = custom == "0"   ? DatabaseMode::MainOnly
           : custom == "2" ? DatabaseMode::CustomOnly
                           : DatabaseMode::MainThenCustom;

  bool countMain = true, countCustom = true;
  if (custom == "0") {
    countCustom = false;
  } else if (custom == "2") {
    countMain = false;
  } else if (custom != "1" && !scheduled) {
    countCustom = false;
  }
  auto add = [&](const TEngineCounters& c) {
    e.expectedTotal += (engines ? c.engines : 0) + (ffa ? c.ffa : 0) + (networks ? c.networkTotal : 0);
  };
  if (countMain) add(catalogue_.Counters(catalogue_.EnginesTable));
  if (countCustom) add(catalogue_.Counters(catalogue_.CustomTable));

  std::string parts;
  if (engines) parts += language_.Lookup("187") + ",";
  if (ffa) parts += language_.Lookup("266") + ",";
  if (networks) parts += language_.Lookup("267") + ",";
  if (custom == "0") {
    if (!scheduled) parts += ",";
  } else if (custom == "2") {
    parts += language_.Lookup("422") + ",";
  } else {
    parts += language_.Lookup("261") + ",";
  }

  e.lines[kStatusLine] = StatusText(e.state);
  e.lines[kKindsLine] = (scheduled ? std::string("Submits to: ") : language_.Lookup("396") + " ") + parts;
  e.lines[kTotalLine] = language_.Lookup("label11") + " " + std::to_string(e.expectedTotal);
  e.lines[kOkLine] = language_.Lookup("56") + ":";
  e.lines[kFailedLine] = language_.Lookup("133");
  e.lines[kTimeoutLine] = language_.Lookup("134");
  e.lines[kReportLine] = language_.Lookup(report ? "126" : "377");
  return e;
}

bool RunQueue::Contains(std::string_view domain, std::string_view project) const {
  const std::string text = std::string(domain) + " [" + std::string(project) + "]";
  for (const RunEntry& e : entries_)
    if (e.DisplayText().find(text) != std::string::npos) return true;
  return false;
}

int RunQueue::NextWaiting() const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    const TEntryState s = entries_[i].state;
    if (s == TEntryState::Waiting || s == TEntryState::WaitingScheduled) return static_cast<int>(i);
  }
  return -1;
}

std::string RunQueue::StatusText(TEntryState state, bool scheduledStart) const {
  const std::string link =
      std::string(kCancelLink) + language_.Lookup("376") + std::string(kCancelLinkEnd);
  switch (state) {
    case TEntryState::Waiting: return language_.Lookup("395") + " " + link;
    case TEntryState::WaitingScheduled:
      return "Status: <b>" + language_.Lookup("375") + "</b>  " + link;
    case TEntryState::UnderPromotion: return language_.Lookup(scheduledStart ? "137" : "136");
    case TEntryState::Paused: return language_.Lookup("129");
    case TEntryState::Stopped: return language_.Lookup("131");
    case TEntryState::Complete: return language_.Lookup("106");
  }
  return {};
}

std::string RunQueue::OkLine(long long sum) const {
  return language_.Lookup("119") + " " + std::to_string(sum);
}
std::string RunQueue::FailedLine(long long sum) const {
  return language_.Lookup("133") + " " + std::to_string(sum);
}
std::string RunQueue::TimeoutLine(long long sum) const {
  return language_.Lookup("134") + " " + std::to_string(sum);
}

}  // namespace qs
