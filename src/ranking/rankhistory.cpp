#include "ranking/rankhistory.h"

#include <algorithm>
#include <charconv>

#include "app/errors.h"
#include "app/text.h"
#include "platform/filesystem.h"
#include "store/storelock.h"
#include "projects/domainstore.h"
#include "projects/naming.h"

namespace qs {

namespace {

void AppendField(std::string& line, std::string_view field) {
  std::string text(field);
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  const bool quote = text.find_first_of(",\"") != std::string::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) {
    line += text;
    return;
  }
  line += '"';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

// The fields of a line; nothing when a quoted field is not closed or is followed by text.
std::optional<std::vector<std::string>> SplitFields(std::string_view line) {
  std::vector<std::string> fields;
  size_t i = 0;
  for (;;) {
    std::string field;
    if (i < line.size() && line[i] == '"') {
      ++i;
      for (;;) {
        if (i >= line.size()) return std::nullopt;
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += line[i++];
      }
      if (i < line.size() && line[i] != ',') return std::nullopt;
    } else {
      const size_t comma = line.find(',', i);
      const size_t end = comma == std::string_view::npos ? line.size() : comma;
      field.assign(line.substr(i, end - i));
      i = end;
    }
    fields.push_back(std::move(field));
    if (i >= line.size()) break;
    ++i;  // the comma
  }
  return fields;
}

// A whole number from 1 to 1,000,000 (no sign, no blanks).
std::optional<int> Positive(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 1 ||
      value > 1000000)
    return std::nullopt;
  return value;
}

}  // namespace

std::string RankCheckLine(const TRankCheck& check) {
  std::string line;
  AppendField(line, regional::FormatDate(check.when.date()));
  line += ',';
  AppendField(line, regional::FormatTime(check.when.time()));
  line += ',';
  AppendField(line, check.engine);
  line += ',';
  AppendField(line, check.keyword);
  line += ',';
  line += std::to_string(check.depth);
  line += ',';
  for (size_t i = 0; i < check.positions.size(); ++i) {
    if (i > 0) line += ' ';
    line += std::to_string(check.positions[i]);
  }
  line += ',';
  AppendField(line, check.resultUrl);
  return line;
}

std::optional<TRankCheck> TRankLineReader::Read(std::string_view line) const {
  const auto fields = SplitFields(line);
  if (!fields || fields->size() != 7) return std::nullopt;
  const std::vector<std::string>& f = *fields;
  TRankCheck check;
  try {
    if (lastDateText_.empty() || f[0] != lastDateText_) {
      lastDate_ = regional_.Date(f[0]);
      lastDateText_ = f[0];
    }
    check.when = QDateTime(lastDate_, regional_.Time(f[1]));
  } catch (const ConversionError&) {
    return std::nullopt;
  }
  if (f[2].empty()) return std::nullopt;
  check.engine = f[2];
  check.keyword = f[3];
  const auto depth = Positive(f[4]);
  if (!depth) return std::nullopt;
  check.depth = *depth;
  std::string_view positions = f[5];
  while (!positions.empty()) {
    const size_t blank = positions.find(' ');
    const auto p = Positive(positions.substr(0, blank));
    if (!p) return std::nullopt;
    check.positions.push_back(*p);
    positions = blank == std::string_view::npos ? std::string_view() : positions.substr(blank + 1);
  }
  std::sort(check.positions.begin(), check.positions.end());
  check.resultUrl = f[6];
  return check;
}

TRankHistoryFile ReadRankHistory(const std::string& path) {
  TRankHistoryFile file;
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return file;
  const TRankLineReader reader;
  const std::vector<std::string_view> lines = SplitLines(*bytes);
  file.checks.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.empty() || (i == 0 && line == kRankHistoryHeadings)) continue;
    if (auto check = reader.Read(line))
      file.checks.push_back(std::move(*check));
    else
      ++file.skipped;
  }
  return file;
}

void AppendRankChecks(const std::string& path, const std::vector<TRankCheck>& checks) {
  const TStoreLock lock(path);  // another process's check appends its own lines
  std::string bytes = ReadFileBytes(path).value_or(std::string());
  if (bytes.empty()) bytes.append(kRankHistoryHeadings).append("\r\n");
  // A hand-edited file may have lost its last line end.
  if (bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
  for (const TRankCheck& check : checks) bytes.append(RankCheckLine(check)).append("\r\n");
  WriteFileAtomically(path, bytes);
}

std::string RankHistoryPathFor(const TAppFolder& folder, std::string_view rankUrl) {
  const std::string domain = DomainNameOf(rankUrl);
  const std::string key = ProjectKeyOf(ListedNameOf(rankUrl));
  if (!NameProblem(domain).empty() || !NameProblem(key).empty()) return {};
  const TDomainStore store(folder);
  if (!FileExists(store.ProjectFile(domain, key))) return {};
  return store.RankHistoryFile(domain, key);
}

}  // namespace qs
