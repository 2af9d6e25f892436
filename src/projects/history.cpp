#include "projects/history.h"

#include "app/langtable.h"
#include "app/text.h"
#include "platform/filesystem.h"

namespace qs {

std::vector<std::string> ReadHistoryLines(const std::string& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return {};
  return TLanguageTable::SplitLines(*bytes);
}

std::vector<std::string> HistoryCells(std::string_view line) {
  std::vector<std::string> cells;
  size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    size_t comma = line.find(',', pos);
    if (comma == std::string_view::npos) break;
    cells.emplace_back(line.substr(pos, comma - pos));
    pos = comma + 1;
  }
  std::string_view rest = pos <= line.size() ? line.substr(pos) : std::string_view();
  if (!rest.empty() && rest.back() == ',') rest.remove_suffix(1);
  cells.emplace_back(rest);
  cells.resize(4);
  return cells;
}

std::string ReportFileOf(std::string_view line) {
  std::string link = ReplaceAll(HistoryCells(line)[3], "<a href=\"", "");
  if (auto quote = link.find('"'); quote != std::string::npos) link.resize(quote);
  return link;
}

std::string StoredReportPath(const TAppFolder& folder, const std::string& reportPath) {
  const std::string root = folder.Root().ends_with('/') ? folder.Root() : folder.Root() + "/";
  if (reportPath.size() > root.size() && reportPath.compare(0, root.size(), root) == 0)
    return reportPath.substr(root.size());
  return reportPath;
}

std::string ResolvedReportPath(const TAppFolder& folder, const std::string& stored) {
  if (stored.empty() || stored.front() == '/') return stored;
  return folder.Path(stored);
}

std::vector<std::string> ReportFilesOf(const TAppFolder& folder, const std::vector<std::string>& lines) {
  std::vector<std::string> files;
  for (size_t i = 1; i < lines.size(); ++i)
    if (std::string file = ReportFileOf(lines[i]); !file.empty())
      files.push_back(ResolvedReportPath(folder, file));
  return files;
}

}  // namespace qs
