// One queued project of a submission run, and one visited engine of the current entry.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "submit/sharedtext.h"

namespace qs {

enum class TEntryState { Waiting, WaitingScheduled, UnderPromotion, Paused, Stopped, Complete };

enum class DatabaseMode { MainOnly, MainThenCustom, CustomOnly };

// The seven lines shown under an entry's node.
enum TEntryLine { kStatusLine, kKindsLine, kTotalLine, kOkLine, kFailedLine, kTimeoutLine,
                  kReportLine, kEntryLines };

struct RunEntry {
  std::string domain;
  std::string project;  // the listed name
  TEntryState state = TEntryState::Waiting;
  bool engines = false, ffa = false, networks = false;
  DatabaseMode mode = DatabaseMode::MainThenCustom;
  int expectedTotal = 0;
  long long ok = 0, failed = 0, timeout = 0;
  bool report = true;
  std::array<std::string, kEntryLines> lines;
  // After the entry's end: the writes that failed, with their messages, and the history
  // file when its line was written.
  std::vector<std::string> completionErrors;
  std::string historyFile;

  // domain + " [" + project + "]": the node's text, which identifies the entry.
  std::string DisplayText() const { return domain + " [" + project + "]"; }
};

// The image of an activity row.
enum class TRowImage { None = -1, Failed = 0, UnderWay = 1, Ok = 2, TimedOut = 3, Skipped = 4 };

// One visited engine. A row holds what is its own (name and address); the texts rows have
// in common are shared (see TSharedText), so a run of many engines stays small.
struct ActivityRow {
  std::string engine;     // e_name
  std::string url;        // e_url
  TSharedText result;     // empty until decided
  TSharedText date;       // date and time the row was made, regional formats
  TSharedText type;       // enginetype
  TSharedText count;      // e_count as stored
  TSharedText startTime;  // time of day the row was made
  int64_t started = 0;    // the moment the row was made (ms since the epoch): the time-out
                          // scan measures from it
  TRowImage image = TRowImage::None;
};

}  // namespace qs
