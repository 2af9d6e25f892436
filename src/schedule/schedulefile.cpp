#include "schedule/schedulefile.h"

#include "platform/regional.h"
#include "projects/naming.h"
#include "projects/projecteditor.h"
#include "store/biginifile.h"

namespace qs {

ScheduleEntry ScheduleEntry::FromFields(const TScheduleFields& fields) {
  return {fields.domain,
          fields.listedName,
          regional::FormatDate(fields.startDate),
          regional::FormatDate(fields.endDate),
          regional::FormatTime(fields.bestTime),
          fields.daysBetween};
}

std::string ScheduleEntry::KeyOfLine(std::string_view line) {
  return std::string(line.substr(0, line.find('=')));
}

std::optional<ScheduleEntry> ScheduleEntry::FromLine(std::string_view line) {
  const size_t eq = line.find('=');
  const size_t bar = line.find('|');
  if (eq == std::string_view::npos || bar == std::string_view::npos || bar > eq) return std::nullopt;
  ScheduleEntry e;
  e.domain = std::string(line.substr(0, bar));
  e.project = std::string(line.substr(bar + 1, eq - bar - 1));
  std::vector<std::string> fields;
  std::string_view rest = line.substr(eq + 1);
  while (true) {
    const size_t next = rest.find('|');
    fields.emplace_back(rest.substr(0, next));
    if (next == std::string_view::npos) break;
    rest.remove_prefix(next + 1);
  }
  if (fields.size() < 4) return std::nullopt;
  e.startDate = fields[0];
  e.endDate = fields[1];
  e.bestTime = fields[2];
  e.daysBetween = fields[3];
  return e;
}

void TScheduleFile::Write(const ScheduleEntry& entry) const {
  TBigIniFile ini(Path());
  ini.WriteText(kScheduleSection, entry.Key(), entry.Value());
  ini.Close();
}

void TScheduleFile::Drop(std::string_view domain, std::string_view project) const {
  TBigIniFile ini(Path());
  ini.DropKey(kScheduleSection, std::string(domain) + "|" + std::string(project));
  ini.Close();
}

std::vector<std::string> TScheduleFile::Lines() const {
  TBigIniFile ini(Path());
  std::vector<std::string> lines;
  ini.ReadSectionLines(kScheduleSection, lines);
  ini.Close();
  return lines;
}

void BindScheduleFile(TProjectEditor& editor, const TAppFolder& folder,
                      std::function<void()> afterChange) {
  const TScheduleFile file(folder);
  editor.OnScheduledChanged = [&editor, file, afterChange](bool scheduled) {
    if (editor.ProjectLoaded()) {
      const std::string domain = editor.CurrentDomain();
      const std::string project = ListedNameOfKey(editor.CurrentProjectKey());
      if (scheduled)
        file.Write(ScheduleEntry::FromFields({domain, project, editor.StartDate(),
                                              editor.EndDate(), editor.BestTime(),
                                              editor.DaysBetween()}));
      else
        file.Drop(domain, project);
    }
    if (afterChange) afterChange();
  };
  editor.OnScheduleFieldsChanged = [file](const TScheduleFields& fields) {
    file.Write(ScheduleEntry::FromFields(fields));
  };
  editor.OnScheduleFieldLeft = [afterChange] {
    if (afterChange) afterChange();
  };
}

}  // namespace qs
