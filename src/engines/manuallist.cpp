#include "engines/manuallist.h"

#include "app/errors.h"
#include "app/text.h"
#include "platform/filesystem.h"

namespace qs {

char ManualListSeparator(const std::vector<std::string_view>& lines) {
  const size_t n = std::min<size_t>(lines.size(), 2);
  auto allHold = [&](char c) {
    if (n == 0) return false;
    for (size_t i = 0; i < n; ++i)
      if (lines[i].find(c) == std::string_view::npos) return false;
    return true;
  };
  bool anyComma = false;
  for (size_t i = 0; i < n; ++i) anyComma |= lines[i].find(',') != std::string_view::npos;
  if (!anyComma)
    for (char c : {';', '#', '\t', '|'})
      if (allHold(c)) return c;
  return ',';
}

std::vector<std::string> SplitManualLine(std::string_view line, char separator) {
  std::vector<std::string> values;
  size_t pos = 0;
  for (;;) {
    std::string value;
    if (pos < line.size() && line[pos] == '"') {
      ++pos;
      while (pos < line.size()) {
        if (line[pos] == '"') {
          if (pos + 1 < line.size() && line[pos + 1] == '"') {
            value += '"';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        value += line[pos++];
      }
      // Anything between the closing quote and the separator belongs to the value.
      while (pos < line.size() && line[pos] != separator) value += line[pos++];
    } else {
      size_t end = line.find(separator, pos);
      if (end == std::string_view::npos) end = line.size();
      value.assign(line.substr(pos, end - pos));
      pos = end;
    }
    values.push_back(std::move(value));
    if (pos >= line.size()) break;
    ++pos;  // the separator
  }
  return values;
}

std::vector<TManualEngine> LoadManualList(const std::string& path) {
  std::optional<std::string> bytes;
  try {
    bytes = ReadFileBytes(path);
  } catch (const IoError&) {
    bytes.reset();
  }
  if (!bytes) throw IoError("Cannot open file " + path);

  const std::vector<std::string_view> lines = SplitLines(*bytes);
  const char separator = ManualListSeparator(lines);
  std::vector<TManualEngine> list;
  list.reserve(lines.size());
  for (std::string_view line : lines) {
    auto v = SplitManualLine(line, separator);
    v.resize(3);
    list.push_back({std::move(v[0]), std::move(v[1]), std::move(v[2])});
  }
  return list;
}

}  // namespace qs
