// One queued project of a submission run, and one visited engine of the current entry.
#pragma once

#include <QDateTime>
#include <array>
#include <string>
#include <vector>

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

struct ActivityRow {
  std::string engine;    // e_name
  std::string url;       // e_url
  std::string result;    // empty until decided
  std::string date;      // date and time the row was made, regional formats
  std::string type;      // enginetype
  std::string count;     // e_count as stored
  std::string startTime; // time of day the row was made
  QDateTime started;     // the moment the row was made: the time-out scan measures from it
  TRowImage image = TRowImage::None;
};

}  // namespace qs
