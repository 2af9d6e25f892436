#include "store/sdfdataset.h"

namespace qs {

void TSdfDataSet::SetDelimiter(char value) {
  RequireClosed();
  delimiter_ = value;
}

void TSdfDataSet::SetFirstLineAsSchema(bool value) {
  RequireClosed();
  firstLineAsSchema_ = value;
}

std::string_view TSdfDataSet::NextValue(std::string_view line, size_t& pos, bool& atEnd) const {
  const size_t n = line.size();
  // Blanks, tabs and other control characters before a value are skipped.
  while (pos < n && static_cast<unsigned char>(line[pos]) >= 1 &&
         static_cast<unsigned char>(line[pos]) <= 32)
    ++pos;
  if (pos >= n) {
    atEnd = true;
    return {};
  }
  std::string_view value;
  if (line[pos] == '"') {
    // The closing quote is the first quote followed by the delimiter, a line break or the
    // end of the line; doubled quotes inside stay as they are.
    size_t close = pos + 1;
    while ((close = line.find('"', close)) != std::string_view::npos) {
      if (close + 1 == n || line[close + 1] == delimiter_ || line[close + 1] == '\r' ||
          line[close + 1] == '\n')
        break;
      ++close;
    }
    if (close != std::string_view::npos) {
      value = line.substr(pos + 1, close - pos - 1);
      size_t next = line.find(delimiter_, close + 1);
      pos = next == std::string_view::npos ? n : next;
    } else {
      value = line.substr(pos);  // no closing quote: the rest of the line, quote included
      pos = n;
    }
  } else {
    size_t next = line.find(delimiter_, pos);
    size_t end = next == std::string_view::npos ? n : next;
    value = line.substr(pos, end - pos);
    pos = end;
  }
  if (pos < n && line[pos] == delimiter_) ++pos;
  return value;
}

std::string TSdfDataSet::BuildLine(const std::vector<std::string>& values) const {
  std::string line;
  for (const std::string& raw : values) {
    std::string_view value = std::string_view(raw).substr(0, raw.find('\0'));
    while (!value.empty() && static_cast<unsigned char>(value.front()) <= 32) value.remove_prefix(1);
    while (!value.empty() && static_cast<unsigned char>(value.back()) <= 32) value.remove_suffix(1);
    const bool quote = value.find(delimiter_) != std::string_view::npos;
    if (quote) line += '"';
    // A line break inside a value would split the record in two when the file is read
    // again: it becomes a blank.
    for (char c : value) line += (c == '\r' || c == '\n') ? ' ' : c;
    if (quote) line += '"';
    line += delimiter_;
  }
  while (!line.empty() && line.back() == delimiter_) line.pop_back();
  return line;
}

std::vector<std::string> TSdfDataSet::DefaultFieldNames(bool& firstLineIsHeader) {
  firstLineIsHeader = false;
  bool blankFirst = LineCount() == 0;
  if (!blankFirst) {
    blankFirst = true;
    for (char c : LineText(0))
      if (static_cast<unsigned char>(c) > 32) blankFirst = false;
  }
  if (blankFirst) {
    firstLineAsSchema_ = false;
    return {};
  }
  std::vector<std::string> names;
  size_t pos = 0;
  bool atEnd = false;
  int count = 0;
  for (;;) {
    std::string_view value = NextValue(LineText(0), pos, atEnd);
    if (atEnd) break;
    ++count;
    names.emplace_back(firstLineAsSchema_ ? std::string(value) : "Field" + std::to_string(count));
  }
  firstLineIsHeader = firstLineAsSchema_;
  return names;
}

}  // namespace qs
