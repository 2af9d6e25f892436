// The submission history of a project as the editor shows it: the lines of ProjectKey + .hst,
// or of \data\default.hst for a project without history, the first line being the headings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"

namespace qs {

inline constexpr std::string_view kDefaultHistoryFile = "\\data\\default.hst";

// The lines of the file (CR LF, LF or CR ends a line); empty when the file does not exist.
std::vector<std::string> ReadHistoryLines(const std::string& path);

// The four columns of a line: Submit Date, Scheduled, Status, Generated Report. A report path
// may itself hold commas, so the fourth column is the rest of the line without its final ",".
std::vector<std::string> HistoryCells(std::string_view line);

// The report file a history line links to: its fourth column without every `<a href="`, cut
// before the first double quote. Empty when the line names none.
std::string ReportFileOf(std::string_view line);

// How a history line names a report: relative to the application folder ("data/domains/
// projects/site.com/Index12112026.htm") when the report lies inside it, so the links keep
// working when the folder is moved or copied; the full path otherwise.
std::string StoredReportPath(const TAppFolder& folder, const std::string& reportPath);
// The report file a stored name means: a relative name inside the application folder, a full
// path (the older lines) as it is.
std::string ResolvedReportPath(const TAppFolder& folder, const std::string& stored);
// The report files the history's lines link to, resolved, in line order; the heading line
// (the first) and lines without a report are left out.
std::vector<std::string> ReportFilesOf(const TAppFolder& folder, const std::vector<std::string>& lines);

}  // namespace qs
