#include "store/biginifile.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <limits>

#include "app/errors.h"
#include "app/text.h"
#include "platform/filesystem.h"
#include "store/unclosedstores.h"

namespace qs {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits of `text` in the given base as a magnitude; false when empty, when any byte is not
// a digit, or when the magnitude exceeds `limit`.
bool ParseMagnitude(std::string_view text, int base, uint64_t limit, uint64_t& value) {
  if (text.empty()) return false;
  value = 0;
  for (char c : text) {
    int d = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return false;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (value > limit) return false;
  }
  return true;
}

std::string Hex8(uint32_t value) {
  char buffer[9];
  std::snprintf(buffer, sizeof buffer, "%08X", value);
  return buffer;
}

}  // namespace

TBigIniFile::TBigIniFile(std::string fileName) : fileName_(std::move(fileName)) {
  if (fileName_.size() > kMaxPath)
    throw IoError("The path is longer than 255 characters: " + fileName_);
  // Held from this read to Close()'s write, so that no other process writes in between.
  if (!fileName_.empty()) lock_ = std::make_unique<TStoreLock>(fileName_);
  LoadFromDisk();
}

TBigIniFile::~TBigIniFile() {
  if (changed_ && !closed_ && std::uncaught_exceptions() == 0) NoteUnclosedStore(fileName_);
}

void TBigIniFile::Close() {
  closed_ = true;  // a failed save has been reported to the caller by its exception
  SaveToDisk();
  lock_.reset();
}

std::string TBigIniFile::StoredLine(std::string_view text) {
  std::string line(CutUtf8(text, kMaxLine));
  if (line.find_first_of("\r\n") == std::string::npos) return line;
  for (char& c : line)
    if (c == '\r' || c == '\n') c = ' ';
  return line;
}

std::string_view TBigIniFile::Own(std::string text) {
  owned_.push_back(std::move(text));
  return owned_.back();
}

void TBigIniFile::LoadFromDisk() {
  sections_.Clear();
  owned_.clear();
  buffer_.clear();
  cursor_ = 0;
  changed_ = false;
  if (fileName_.empty()) return;
  auto bytes = ReadFileBytes(fileName_);
  if (!bytes) return;
  buffer_ = std::move(*bytes);
  Parse(buffer_);
  if (sections_.RemoveDuplicates()) changed_ = true;
}

void TBigIniFile::Parse(std::string_view bytes) {
  int current = -1;
  size_t pos = 0;
  const size_t n = bytes.size();
  while (pos < n) {
    const char* start = bytes.data() + pos;
    const void* lf = std::memchr(start, '\n', n - pos);
    size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - bytes.data()) : n;
    std::string_view line = bytes.substr(pos, end - pos);
    pos = lf ? end + 1 : n;

    // The CR of a CR LF ends the line; a CR anywhere else is dropped.
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::memchr(line.data(), '\r', line.size())) {
      std::string cleaned;
      for (char c : line)
        if (c != '\r') cleaned.push_back(c);
      line = Own(std::move(cleaned));
    }
    line = CutUtf8(line, kMaxLine);
    if (line.empty()) continue;
    if (line.front() == '\x1A') break;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = sections_.Append(std::string(line.substr(1, line.size() - 2)));
      continue;
    }
    if (current < 0) continue;
    sections_[current].lines.emplace_back(line);
  }
}

void TBigIniFile::SaveToDisk() {
  if (!changed_ || fileName_.empty()) return;
  std::string out;
  size_t size = 0;
  for (const auto& s : sections_.Items()) {
    size += s.name.size() + 6;
    for (const auto& l : s.lines) size += l.text.size() + 2;
  }
  out.reserve(size);
  for (const auto& s : sections_.Items()) {
    if (s.lines.empty()) continue;
    out += '[';
    out += s.name;
    out += "]\r\n";
    for (const auto& l : s.lines) {
      out += l.text;
      out += "\r\n";
    }
    out += "\r\n";
  }
  WriteFileAtomically(fileName_, out);
  changed_ = false;
}

TBigIniFile::KeyPlace TBigIniFile::FindKey(std::string_view section, std::string_view key,
                                           bool mayCreate) {
  const int n = sections_.Count();
  int found = -1;
  if (n > 0) {
    if (cursor_ >= n || cursor_ < 0) cursor_ = 0;
    int i = cursor_;
    for (int k = 0; k < n; ++k) {
      if (EqualsIgnoreCase(sections_[i].name, section)) {
        found = i;
        break;
      }
      if (k + 1 < n) i = (i + 1 == n) ? 0 : i + 1;
    }
    cursor_ = found >= 0 ? found : i;
  }
  if (found < 0) {
    if (!mayCreate) return {};
    cursor_ = sections_.Append(std::string(section));
    return {cursor_, -1};
  }
  return {found, sections_[found].FindLine(key)};
}

std::string TBigIniFile::ReadText(std::string_view section, std::string_view key,
                                  std::string_view defaultText) {
  KeyPlace p = FindKey(section, key, false);
  if (p.section < 0 || p.line < 0) return std::string(defaultText);
  const TIniLine& line = sections_[p.section].lines[static_cast<size_t>(p.line)];
  return std::string(line.text.substr(line.eq + 1));
}

void TBigIniFile::WriteText(std::string_view section, std::string_view key,
                            std::string_view value) {
  if (key.empty()) {
    if (!section.empty() || !value.empty())
      DropSection(section);
    else
      SaveToDisk();
    return;
  }
  std::string text;
  text.reserve(key.size() + 1 + value.size());
  text.append(key).append("=").append(value);
  text = StoredLine(text);
  KeyPlace p = FindKey(section, key, true);
  auto& lines = sections_[p.section].lines;
  if (p.line < 0) {
    lines.emplace_back(Own(std::move(text)));
    changed_ = true;
  } else if (lines[static_cast<size_t>(p.line)].text != text) {
    lines[static_cast<size_t>(p.line)] = TIniLine(Own(std::move(text)));
    changed_ = true;
  }
}

bool TBigIniFile::ParseNumber(std::string_view text, int32_t& value) {
  uint64_t magnitude = 0;
  constexpr uint64_t kMax = std::numeric_limits<int32_t>::max();
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (!ParseMagnitude(text.substr(2), 16, kMax, magnitude)) return false;
    value = static_cast<int32_t>(magnitude);
    return true;
  }
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  }
  if (!ParseMagnitude(text.substr(i), base, kMax + (negative ? 1 : 0), magnitude)) return false;
  value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude))
                   : static_cast<int32_t>(magnitude);
  return true;
}

int32_t TBigIniFile::ReadNumber(std::string_view section, std::string_view key,
                                int32_t defaultValue) {
  int32_t value = 0;
  return ParseNumber(ReadText(section, key, ""), value) ? value : defaultValue;
}

void TBigIniFile::WriteNumber(std::string_view section, std::string_view key, int32_t value) {
  WriteText(section, key, std::to_string(value));
}

bool TBigIniFile::ReadFlag(std::string_view section, std::string_view key, bool defaultValue) {
  return ReadNumber(section, key, defaultValue ? 1 : 0) != 0;
}

void TBigIniFile::WriteFlag(std::string_view section, std::string_view key, bool value) {
  WriteText(section, key, value ? "1" : "0");
}

void TBigIniFile::ReadKeyList(std::string_view section, std::vector<std::string>& target) {
  int i = sections_.IndexOf(section);
  if (i < 0) return;
  for (const auto& l : sections_[i].lines) target.emplace_back(l.Key());
}

void TBigIniFile::ReadSectionNames(std::vector<std::string>& target) {
  target.clear();
  for (const auto& s : sections_.Items()) target.push_back(s.name);
}

void TBigIniFile::ReadSectionLines(std::string_view section, std::vector<std::string>& target) {
  int i = sections_.IndexOf(section);
  if (i < 0) return;
  for (const auto& l : sections_[i].lines) target.emplace_back(l.text);
}

void TBigIniFile::ReadAllLines(std::vector<std::string>& target) {
  for (const auto& s : sections_.Items()) {
    if (s.lines.empty()) continue;
    target.push_back("[" + s.name + "]");
    for (const auto& l : s.lines) target.emplace_back(l.text);
    target.emplace_back();
  }
}

void TBigIniFile::WriteSectionLines(std::string_view section,
                                    const std::vector<std::string>& source) {
  std::vector<std::string> stored;
  stored.reserve(source.size());
  for (const auto& line : source) stored.push_back(StoredLine(line));
  auto own = [this](std::vector<std::string>& texts) {
    std::vector<TIniLine> lines;
    lines.reserve(texts.size());
    for (auto& t : texts) lines.emplace_back(Own(std::move(t)));
    return lines;
  };
  int i = sections_.IndexOf(section);
  if (i < 0) {
    i = sections_.Append(std::string(section));
    sections_[i].lines = own(stored);
    changed_ = true;
    return;
  }
  auto& current = sections_[i].lines;
  if (current.size() == stored.size()) {
    for (size_t k = 0; k < stored.size(); ++k) {
      if (current[k].text != stored[k]) {
        current[k] = TIniLine(Own(std::move(stored[k])));
        changed_ = true;
      }
    }
    return;
  }
  current = own(stored);
  changed_ = true;
}

void TBigIniFile::DropSection(std::string_view section) {
  int i = sections_.IndexOf(section);
  if (i < 0) return;
  sections_.Remove(i);
  if (cursor_ >= sections_.Count()) cursor_ = 0;
  changed_ = true;
}

void TBigIniFile::DropKey(std::string_view section, std::string_view key) {
  KeyPlace p = FindKey(section, key, true);
  if (p.line < 0) return;
  auto& lines = sections_[p.section].lines;
  lines.erase(lines.begin() + p.line);
  changed_ = true;
}

uint32_t TBiggerIniFile::ReadColour(std::string_view section, std::string_view key,
                                    uint32_t defaultValue) {
  std::string text = ReadText(section, key, Hex8(defaultValue));
  uint64_t value = 0;
  if (!ParseMagnitude(text, 16, std::numeric_limits<uint32_t>::max(), value))
    throw ConversionError("'" + text + "' is not a valid colour value");
  return static_cast<uint32_t>(value);
}

void TBiggerIniFile::WriteColour(std::string_view section, std::string_view key, uint32_t value) {
  WriteText(section, key, Hex8(value));
}

}  // namespace qs
