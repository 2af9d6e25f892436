// The schedule file \data\schedule.sch: one line per scheduled project in section
// [scheduled], domain|project=start|end|time|days, where project is the ProjectKey with every
// "_" turned into "/". The project editor writes and drops the lines; the scheduled list
// reads them.
#pragma once

#include <QDate>
#include <QTime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"

namespace qs {

class TProjectEditor;
struct TScheduleFields;

inline constexpr std::string_view kScheduleFile = "\\data\\schedule.sch";
inline constexpr std::string_view kScheduleSection = "scheduled";

struct ScheduleEntry {
  std::string domain, project;
  std::string startDate, endDate, bestTime, daysBetween;  // as stored

  std::string Key() const { return domain + "|" + project; }
  std::string Value() const {
    return startDate + "|" + endDate + "|" + bestTime + "|" + daysBetween;
  }
  // The entry of a project's schedule fields, dates and time in the regional formats.
  static ScheduleEntry FromFields(const TScheduleFields& fields);
  // A line "key=value" of the section: the domain is the text before the first "|", the
  // project the text after it up to the first "=", and the four fields are the "|"-separated
  // texts after the "=". Nothing when the line has no "|" before its "=" or fewer than four
  // fields.
  static std::optional<ScheduleEntry> FromLine(std::string_view line);
  // The text before the first "=": the key to drop the line by.
  static std::string KeyOfLine(std::string_view line);
};

class TScheduleFile {
 public:
  explicit TScheduleFile(const TAppFolder& folder) : folder_(folder) {}

  std::string Path() const { return folder_.Path(kScheduleFile); }
  void Write(const ScheduleEntry& entry) const;
  void Drop(std::string_view domain, std::string_view project) const;
  // Every line of [scheduled], in file order.
  std::vector<std::string> Lines() const;

 private:
  TAppFolder folder_;
};

// Lets the project editor keep the schedule file: the activation option writes the entry
// with the editor's values (or drops it), and a schedule field left while the option is
// checked writes the entry again. `afterChange` runs after the activation option was
// clicked and after any schedule field was left (a running scheduler rebuilds its list).
void BindScheduleFile(TProjectEditor& editor, const TAppFolder& folder,
                      std::function<void()> afterChange = {});

}  // namespace qs
