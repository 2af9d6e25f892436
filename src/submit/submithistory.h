// What an ended run entry leaves in the project's files: one line of its history file and
// the last-submission dates.
#pragma once

#include <QDate>
#include <string>
#include <string_view>

#include "app/appfolder.h"
#include "app/langtable.h"

namespace qs {

// The headings a history file starts with when the installation's \data\default.hst is
// missing too, so the history view still finds its heading line.
inline constexpr std::string_view kHistoryHeadings =
    "Submit Date,Scheduled,Status,Generated Report,\r\n";

class TSubmitHistory {
 public:
  TSubmitHistory(const TAppFolder& folder, const TLanguageTable& language)
      : folder_(folder), language_(language) {}

  // The line for an entry that ended on `day`; `reportPath` empty when no report was written.
  std::string HistoryLine(const QDate& day, bool scheduled, const std::string& reportPath) const;

  // Appends the history line (starting the file from \data\default.hst), under the history
  // file's lock, and gives the file's path. Throws IoError when it cannot be read or written.
  std::string AppendHistoryLine(const std::string& domain, const std::string& projectKey,
                                bool scheduled, const std::string& reportPath,
                                const QDate& today) const;

  // Moves lastsub to today, and lastw, lastm and lasty where their class was due.
  void MoveDates(const std::string& domain, const std::string& projectKey,
                 const QDate& today) const;

 private:
  const TAppFolder& folder_;
  const TLanguageTable& language_;
};

}  // namespace qs
