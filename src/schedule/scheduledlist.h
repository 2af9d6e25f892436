// The list of scheduled projects, sorted by their next submission moment, built from the
// schedule file and each project's last submission.
#pragma once

#include <QDate>
#include <QDateTime>
#include <cstdint>
#include <string>
#include <vector>

#include "app/appfolder.h"

namespace qs {

struct ScheduledRow {
  std::string domain;
  std::string project;     // the project name of the schedule entry
  std::string submitDate;  // the next submission date, short date format
  std::string time;        // the best time as stored
  std::string sortdate;    // the moment as a DOS date-time value, in decimal
  QDateTime moment;        // Submit Date + " " + Time
};

// The moment as a DOS date-time value: bits 25 to 31 year minus 1980, 21 to 24 month, 16 to
// 20 day, 11 to 15 hour, 5 to 10 minute, 0 to 4 seconds divided by 2. Moments before 1980
// or after 2107 cannot be held and are taken as the first (last) moment that can.
uint32_t DosDateTime(const QDateTime& moment);

class ScheduledList {
 public:
  // Empties the list and builds it from \data\schedule.sch as of `today`:
  // - an entry whose project file does not exist is deleted from the schedule file;
  // - the next date is `lastsub` + days between for a submitted project (one whose `lastsub`
  //   is not today minus one year, the value of an empty `lastsub`), the start date for one
  //   never submitted, and today when `lastsub` is later than that;
  // - a project is listed only while its end date is on or after its `lastsub`.
  // Entries that cannot be read (a broken line, a date, time or number that cannot be
  // converted, a name that cannot be a file name) are not listed; Problems() tells why.
  // Throws IoError when the schedule file itself cannot be read or written.
  void Build(const TAppFolder& folder, const QDate& today);
  void Clear();

  const std::vector<ScheduledRow>& Rows() const { return rows_; }
  // The "Scheduled:" counter.
  int Count() const { return static_cast<int>(rows_.size()); }
  bool Empty() const { return rows_.empty(); }
  // Takes the first row off the list (the schedule file is not changed).
  void RemoveFirst();
  const std::vector<std::string>& Problems() const { return problems_; }

 private:
  std::vector<ScheduledRow> rows_;
  std::vector<std::string> problems_;
};

}  // namespace qs
