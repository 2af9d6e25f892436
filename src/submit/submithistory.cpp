#include "submit/submithistory.h"

#include "platform/filesystem.h"
#include "platform/regional.h"
#include "projects/domainstore.h"
#include "projects/history.h"
#include "store/biginifile.h"
#include "store/storelock.h"
#include "submit/requestbuilder.h"

namespace qs {

std::string TSubmitHistory::HistoryLine(const QDate& day, bool scheduled,
                                        const std::string& reportPath) const {
  std::string line = regional::FormatDate(day) + ",";
  line += language_.Lookup(scheduled ? "127" : "125") + ",";
  line += language_.Lookup("123") + ",";
  if (reportPath.empty())
    line += language_.Lookup("125");
  else
    line += "<a href=\"" + StoredReportPath(folder_, reportPath) + "\">" + language_.Lookup("124") + "</a>";
  line += ",";
  return line;
}

std::string TSubmitHistory::AppendHistoryLine(const std::string& domain,
                                             const std::string& projectKey, bool scheduled,
                                             const std::string& reportPath,
                                             const QDate& today) const {
  const std::string path = TDomainStore(folder_).HistoryFile(domain, projectKey);
  const TStoreLock lock(path);  // a Clear History elsewhere must not cross this
  std::optional<std::string> text = ReadFileBytes(path);
  if (!text) text = ReadFileBytes(folder_.Path(kDefaultHistoryFile));
  if (!text) text = std::string(kHistoryHeadings);
  // A file whose last line lacks its line end would swallow the new line into it.
  if (!text->empty() && text->back() != '\n' && text->back() != '\r') *text += "\r\n";
  *text += HistoryLine(today, scheduled, reportPath) + "\r\n";
  WriteFileAtomically(path, *text);
  return path;
}

void TSubmitHistory::MoveDates(const std::string& domain, const std::string& projectKey,
                               const QDate& today) const {
  TBiggerIniFile file(TDomainStore(folder_).ProjectFile(domain, projectKey));
  const std::string todayText = regional::FormatDate(today);
  file.WriteText(projectKey, "lastsub", todayText);
  struct Class {
    std::string_view key, freq;
    QDate fallback;
  };
  const Class classes[] = {{"lastw", "Weekly", today.addDays(-7)},
                           {"lastm", "Monthly", today.addMonths(-1)},
                           {"lasty", "Yearly", today.addYears(-1)}};
  for (const Class& c : classes) {
    const QDate stored = StoredDateOr(file.ReadText(projectKey, c.key, ""), c.fallback);
    if (today >= NextDueDate(stored, c.freq)) file.WriteText(projectKey, c.key, todayText);
  }
  file.Close();
}

}  // namespace qs
