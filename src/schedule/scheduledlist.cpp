#include "schedule/scheduledlist.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <optional>

#include "app/errors.h"
#include "platform/filesystem.h"
#include "platform/regional.h"
#include "projects/domainstore.h"
#include "projects/naming.h"
#include "schedule/schedulefile.h"
#include "store/biginifile.h"
#include "submit/requestbuilder.h"

namespace qs {

namespace {

int DaysBetween(const std::string& text) {
  int days = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, days);
  if (text.empty() || ec != std::errc() || ptr != end || days < 0)
    throw ConversionError("'" + text + "' is not a valid number of days");
  return days;
}

// The row of one entry, or nothing when the project is not listed.
std::optional<ScheduledRow> RowOf(const ScheduleEntry& e, const TDomainStore& store,
                                  const QDate& today) {
  const std::string key = ProjectKeyOf(e.project);
  const QDate never = today.addYears(-1);
  const QDate lastsub =
      StoredDateOr(store.ReadProjectValue(e.domain, key, key, "lastsub", ""), never);
  const QDate end = regional::ParseDate(e.endDate);
  const QTime time = regional::ParseTime(e.bestTime);
  QDate next;
  if (lastsub != never) {
    next = lastsub.addDays(DaysBetween(e.daysBetween));
    if (!next.isValid()) throw ConversionError("'" + e.daysBetween + "' days cannot be added");
  } else {
    next = regional::ParseDate(e.startDate);
  }
  if (lastsub > next) next = today;
  if (end < lastsub) return std::nullopt;
  ScheduledRow row{e.domain, e.project, regional::FormatDate(next), e.bestTime, {}, {}};
  row.moment = QDateTime(next, time);
  row.sortdate = std::to_string(DosDateTime(row.moment));
  return row;
}

}  // namespace

uint32_t DosDateTime(const QDateTime& moment) {
  const QDate d = moment.date();
  const QTime t = moment.time();
  if (d.year() < 1980) return (1u << 21) | (1u << 16);
  if (d.year() > 2107) return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
  return (static_cast<uint32_t>(d.year() - 1980) << 25) | (static_cast<uint32_t>(d.month()) << 21) |
         (static_cast<uint32_t>(d.day()) << 16) | (static_cast<uint32_t>(t.hour()) << 11) |
         (static_cast<uint32_t>(t.minute()) << 5) | static_cast<uint32_t>(t.second() / 2);
}

void ScheduledList::Clear() {
  rows_.clear();
  problems_.clear();
}

void ScheduledList::RemoveFirst() {
  if (!rows_.empty()) rows_.erase(rows_.begin());
}

void ScheduledList::Build(const TAppFolder& folder, const QDate& today) {
  Clear();
  const TDomainStore store(folder);
  TBigIniFile ini(folder.Path(kScheduleFile));
  try {
    std::vector<std::string> lines;
    ini.ReadSectionLines(kScheduleSection, lines);
    for (const std::string& line : lines) {
      if (line.find_first_not_of(' ') == std::string::npos) continue;
      const std::optional<ScheduleEntry> entry = ScheduleEntry::FromLine(line);
      if (!entry) {
        problems_.push_back("The schedule line '" + line + "' cannot be read.");
        continue;
      }
      try {
        const std::string file = store.ProjectFile(entry->domain, ProjectKeyOf(entry->project));
        if (!FileExists(file)) {
          ini.DropKey(kScheduleSection, ScheduleEntry::KeyOfLine(line));
          continue;
        }
        if (auto row = RowOf(*entry, store, today)) rows_.push_back(std::move(*row));
      } catch (const ConversionError& x) {
        problems_.push_back(entry->Key() + ": " + x.what());
      } catch (const NameError& x) {
        problems_.push_back(entry->Key() + ": " + x.what());
      }
    }
  } catch (...) {
    ini.Close();
    throw;
  }
  ini.Close();
  // The sortdate values are compared as numbers: as texts, the nine-digit values of moments
  // before 2010 would sort after later ones. Rows of the same moment keep the order of their
  // lines in the schedule file.
  std::stable_sort(rows_.begin(), rows_.end(), [](const ScheduledRow& a, const ScheduledRow& b) {
    return DosDateTime(a.moment) < DosDateTime(b.moment);
  });
}

}  // namespace qs
