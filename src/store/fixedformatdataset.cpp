#include "store/fixedformatdataset.h"

#include <algorithm>
#include <optional>

#include "app/errors.h"
#include "app/text.h"
#include "platform/filesystem.h"

namespace qs {
namespace {

constexpr int kEmptyFileWidth = 250;

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool KeyMatches(std::string_view value, std::string_view key, const TLocateOptions& options) {
  value = TrimBlanks(value);
  key = TrimBlanks(key);
  if (value.size() < key.size() || (!options.partialKey && value.size() != key.size()))
    return false;
  value = value.substr(0, key.size());
  return options.caseInsensitive ? EqualsIgnoreCase(value, key) : value == key;
}

}  // namespace

// ---- fields -------------------------------------------------------------------------------

const std::string& TDataField::Name() const { return table_->FieldName(index_); }
int TDataField::Size() const { return table_->FieldWidth(index_); }
std::string TDataField::AsString() const { return table_->FieldText(index_); }
void TDataField::SetAsString(std::string_view value) const { table_->SetFieldText(index_, value); }

int32_t TDataField::AsInteger() const {
  const std::string text = AsString();
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  bool digits = false;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') {
      digits = false;
      break;
    }
    digits = true;
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{INT32_MAX} + 1) {
      digits = false;
      break;
    }
  }
  if (negative) value = -value;
  if (!digits || value > INT32_MAX || value < INT32_MIN)
    throw ConversionError("'" + text + "' is not a valid integer value");
  return static_cast<int32_t>(value);
}

// ---- properties ---------------------------------------------------------------------------

void TFixedFormatDataSet::RequireClosed() const {
  if (Active()) throw DatabaseError("Cannot perform this operation on an open dataset");
}
void TFixedFormatDataSet::SetFileName(std::string name) {
  RequireClosed();
  fileName_ = std::move(name);
}
void TFixedFormatDataSet::SetFileMustExist(bool value) {
  RequireClosed();
  fileMustExist_ = value;
}
void TFixedFormatDataSet::SetReadOnly(bool value) {
  RequireClosed();
  readOnly_ = value;
}
void TFixedFormatDataSet::SetTrimSpace(bool value) {
  RequireClosed();
  trimSpace_ = value;
}
void TFixedFormatDataSet::SetSchema(std::vector<std::string> schema) {
  RequireClosed();
  schema_ = std::move(schema);
}

// ---- opening and closing ------------------------------------------------------------------

void TFixedFormatDataSet::Load() {
  std::optional<std::string> bytes;
  try {
    bytes = ReadFileBytes(fileName_);
  } catch (const IoError&) {
    throw IoError("Cannot open file " + fileName_);
  }
  if (!bytes) {
    if (fileMustExist_) throw IoError("Cannot open file " + fileName_);
    try {
      WriteFileAtomically(fileName_, "");
    } catch (const IoError&) {
      throw IoError("Cannot create file " + fileName_);
    }
    bytes.emplace();
  }
  buffer_ = std::move(*bytes);
  if (auto nul = buffer_.find('\0'); nul != std::string::npos) buffer_.resize(nul);

  lines_.clear();
  const std::vector<std::string_view> lines = SplitLines(buffer_);
  lines_.reserve(lines.size());
  for (std::string_view line : lines) lines_.push_back({line, 0});
  for (size_t i = 0; i < lines_.size(); ++i) lines_[i].tag = static_cast<int32_t>(i + 1);
  lastTag_ = static_cast<int32_t>(lines_.size());
}

std::vector<std::string> TFixedFormatDataSet::DefaultFieldNames(bool& firstLineIsHeader) {
  firstLineIsHeader = false;
  return {};
}

void TFixedFormatDataSet::BuildFields() {
  size_t longest = 0;
  for (const Line& l : lines_) longest = std::max(longest, l.text.size());
  const int plainWidth = longest > 0 ? static_cast<int>(longest) : kEmptyFileWidth;

  fields_.clear();
  for (const std::string& entry : schema_) {
    auto eq = entry.find('=');
    std::string name(TrimBlanks(std::string_view(entry).substr(0, eq)));
    if (name.empty()) continue;
    int width = plainWidth;
    if (eq != std::string::npos) {
      const std::string number(TrimBlanks(std::string_view(entry).substr(eq + 1)));
      try {
        size_t used = 0;
        int parsed = std::stoi(number, &used);
        if (used == number.size() && parsed > 0) width = parsed;
      } catch (const std::exception&) {
        // Not a number: the plain rule applies.
      }
    }
    fields_.push_back({std::move(name), width});
  }
  // Asked even with a schema: it also says whether the first line is a header.
  std::vector<std::string> defaults = DefaultFieldNames(headerLine_);
  if (fields_.empty())
    for (auto& name : defaults) fields_.push_back({std::move(name), plainWidth});
  if (fields_.empty()) fields_.push_back({std::string(kWholeLineField), plainWidth});
}

void TFixedFormatDataSet::Open() {
  if (Active()) return;
  Load();
  BuildFields();
  state_ = TDataSetState::Browse;
  modified_ = false;
  current_ = -1;
  parsed_ = {};
  First();
}

void TFixedFormatDataSet::WriteBack() {
  try {
    TAtomicFile file(fileName_);
    std::string chunk;
    chunk.reserve(1 << 16);
    for (const Line& l : lines_) {
      chunk.append(l.text).append("\r\n");
      if (chunk.size() >= (1 << 16)) {
        file.Write(chunk);
        chunk.clear();
      }
    }
    file.Write(chunk);
    file.Commit();
  } catch (const IoError&) {
    throw IoError("Cannot create file " + fileName_);
  }
}

void TFixedFormatDataSet::Close() {
  if (!Active()) return;
  CheckBrowseMode();
  if (modified_ && !readOnly_) WriteBack();  // a failure keeps the table open and modified
  state_ = TDataSetState::Inactive;
  lines_.clear();
  lines_.shrink_to_fit();
  buffer_.clear();
  buffer_.shrink_to_fit();
  owned_.clear();
  fields_.clear();
  parsed_ = {};
  current_ = -1;
  eof_ = bof_ = true;
  modified_ = false;
}

// ---- reading ------------------------------------------------------------------------------

std::string_view TFixedFormatDataSet::ParsedValue(int line, int field) {
  if (parsed_.line != line) {
    parsed_.line = line;
    parsed_.pos = 0;
    parsed_.atEnd = false;
    parsed_.values.clear();
  }
  const std::string_view text = lines_[static_cast<size_t>(line)].text;
  if (fields_.size() == 1 && fields_[0].name == kWholeLineField && schema_.empty())
    return CutUtf8(text, static_cast<size_t>(fields_[0].width));
  while (parsed_.values.size() <= static_cast<size_t>(field)) {
    std::string_view value;
    if (!parsed_.atEnd) value = NextValue(text, parsed_.pos, parsed_.atEnd);
    const int width = fields_[parsed_.values.size()].width;
    parsed_.values.push_back(CutUtf8(value, static_cast<size_t>(width)));
  }
  return parsed_.values[static_cast<size_t>(field)];
}

std::string TFixedFormatDataSet::FieldText(int index) {
  if (index < 0 || index >= FieldCount()) return {};
  std::string_view value;
  const bool editing = state_ == TDataSetState::Edit || state_ == TDataSetState::Insert;
  if (editing && candidate_ < 0)
    value = editValues_[static_cast<size_t>(index)];
  else if (ReadLine() >= 0)
    value = ParsedValue(ReadLine(), index);
  return Shown(value, index);
}

std::string TFixedFormatDataSet::LineFieldText(int line, int index) {
  if (index < 0 || index >= FieldCount() || line < FirstRecordLine() || line >= LineCount()) return {};
  return Shown(ParsedValue(line, index), index);
}

std::vector<int> TFixedFormatDataSet::VisibleLines() {
  std::vector<int> lines;
  if (!Active()) return lines;
  lines.reserve(static_cast<size_t>(LineCount()));
  for (int i = FirstRecordLine(); i < LineCount(); ++i)
    if (Accepts(i)) lines.push_back(i);
  return lines;
}

bool TFixedFormatDataSet::GotoLine(int line) {
  if (!Active()) return false;
  CheckBrowseMode();
  if (line < FirstRecordLine() || line >= LineCount() || !Accepts(line)) return false;
  current_ = line;
  eof_ = bof_ = false;
  return true;
}

void TFixedFormatDataSet::SaveToDisk() {
  if (!Active() || !modified_ || readOnly_) return;
  WriteBack();
  modified_ = false;
}

std::string TFixedFormatDataSet::Shown(std::string_view value, int index) const {
  std::string text(UpToNul(value));
  if (trimSpace_) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
  } else if (text.size() < static_cast<size_t>(FieldWidth(index))) {
    text.resize(static_cast<size_t>(FieldWidth(index)), ' ');  // the slot's blank fill
  }
  return text;
}

void TFixedFormatDataSet::SetFieldText(int index, std::string_view value) {
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert)
    throw DatabaseError("Dataset not in edit or insert mode");
  editValues_[static_cast<size_t>(index)] =
      std::string(CutUtf8(value, static_cast<size_t>(FieldWidth(index))));
  editChanged_ = true;
}

int TFixedFormatDataSet::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (EqualsIgnoreCase(fields_[i].name, name)) return static_cast<int>(i);
  return -1;
}

TDataField TFixedFormatDataSet::FieldByName(std::string_view name) {
  int i = FieldIndex(name);
  if (i < 0) throw DatabaseError("Field '" + std::string(name) + "' not found");
  return TDataField(*this, i);
}

int TFixedFormatDataSet::RecordCount() const {
  return static_cast<int>(lines_.size()) - (headerLine_ ? 1 : 0);
}

int32_t TFixedFormatDataSet::RecNo() const {
  return current_ >= 0 ? lines_[static_cast<size_t>(current_)].tag : 0;
}

// ---- navigation ---------------------------------------------------------------------------

bool TFixedFormatDataSet::Accepts(int line) {
  if (!filtered_ || !OnFilterRecord) return true;
  bool accept = true;
  const int previous = candidate_;
  candidate_ = line;
  try {
    OnFilterRecord(*this, accept);
  } catch (const std::exception& e) {
    if (OnFilterError) OnFilterError(e.what());
  }
  candidate_ = previous;
  return accept;
}

int TFixedFormatDataSet::Seek(int from, int step) {
  for (int i = from; i >= FirstRecordLine() && i < LineCount(); i += step)
    if (Accepts(i)) return i;
  return -1;
}

void TFixedFormatDataSet::SettleAt(int line) {
  line = std::clamp(line, FirstRecordLine(), std::max(FirstRecordLine(), LineCount() - 1));
  int found = Seek(line, +1);
  if (found < 0) found = Seek(line - 1, -1);
  current_ = found;
  eof_ = bof_ = found < 0;
}

void TFixedFormatDataSet::CheckBrowseMode() {
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert) return;
  if (editChanged_)
    Post();
  else
    Cancel();
}

void TFixedFormatDataSet::First() {
  if (!Active()) return;
  CheckBrowseMode();
  current_ = Seek(FirstRecordLine(), +1);
  bof_ = true;
  eof_ = current_ < 0;
}

void TFixedFormatDataSet::Next() {
  if (!Active()) return;
  CheckBrowseMode();
  bof_ = false;
  if (current_ < 0) {
    eof_ = true;
    return;
  }
  int found = Seek(current_ + 1, +1);
  if (found >= 0)
    current_ = found;
  else
    eof_ = true;
}

void TFixedFormatDataSet::Prior() {
  if (!Active()) return;
  CheckBrowseMode();
  eof_ = false;
  if (current_ < 0) {
    bof_ = eof_ = true;
    return;
  }
  int found = Seek(current_ - 1, -1);
  if (found >= 0)
    current_ = found;
  else
    bof_ = true;
}

void TFixedFormatDataSet::Last() {
  if (!Active()) return;
  CheckBrowseMode();
  current_ = Seek(LineCount() - 1, -1);
  eof_ = true;
  bof_ = current_ < 0;
}

bool TFixedFormatDataSet::GotoBookmark(int32_t tag) {
  if (!Active()) return false;
  CheckBrowseMode();
  for (int i = FirstRecordLine(); i < LineCount(); ++i) {
    if (lines_[static_cast<size_t>(i)].tag == tag) {
      current_ = i;
      eof_ = bof_ = false;
      return true;
    }
  }
  return false;
}

void TFixedFormatDataSet::Refresh() {
  if (!Active()) return;
  CheckBrowseMode();
  if (current_ >= 0 && Accepts(current_)) {
    eof_ = bof_ = false;
    return;
  }
  SettleAt(current_ >= 0 ? current_ : FirstRecordLine());
}

// ---- changing -----------------------------------------------------------------------------

void TFixedFormatDataSet::RequireWritable() const {
  if (!Active()) throw DatabaseError("Cannot perform this operation on a closed dataset");
  if (readOnly_) throw DatabaseError("Cannot modify a read-only dataset");
}

void TFixedFormatDataSet::Edit() {
  if (state_ == TDataSetState::Edit || state_ == TDataSetState::Insert) return;
  RequireWritable();
  if (current_ < 0) {  // nothing to edit: start a new record, as an empty table does
    Insert();
    return;
  }
  editValues_.assign(fields_.size(), std::string());
  for (int i = 0; i < FieldCount(); ++i)
    editValues_[static_cast<size_t>(i)] = std::string(ParsedValue(current_, i));
  editChanged_ = false;
  state_ = TDataSetState::Edit;
}

void TFixedFormatDataSet::Insert() { StartInsert(false); }
void TFixedFormatDataSet::Append() { StartInsert(true); }

void TFixedFormatDataSet::StartInsert(bool atEnd) {
  RequireWritable();
  CheckBrowseMode();
  insertAt_ = (atEnd || current_ < 0) ? LineCount() : current_;
  editValues_.assign(fields_.size(), std::string());
  editChanged_ = false;
  state_ = TDataSetState::Insert;
  if (AfterInsert) AfterInsert(*this);
}

void TFixedFormatDataSet::Post() {
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert)
    throw DatabaseError("Dataset not in edit or insert mode");
  owned_.push_back(BuildLine(editValues_));
  const std::string_view text = owned_.back();
  int at = current_;
  if (state_ == TDataSetState::Edit) {
    lines_[static_cast<size_t>(current_)].text = text;
  } else {
    at = insertAt_;
    lines_.insert(lines_.begin() + at, Line{text, ++lastTag_});
  }
  parsed_ = {};
  editValues_.clear();
  state_ = TDataSetState::Browse;
  modified_ = true;
  if (Accepts(at)) {
    current_ = at;
    eof_ = bof_ = false;
  } else {
    SettleAt(at);
  }
  if (AfterPost) AfterPost(*this);
}

void TFixedFormatDataSet::Cancel() {
  if (state_ != TDataSetState::Edit && state_ != TDataSetState::Insert) return;
  editValues_.clear();
  state_ = TDataSetState::Browse;
}

void TFixedFormatDataSet::Delete() {
  if (state_ == TDataSetState::Insert) {
    Cancel();
    return;
  }
  RequireWritable();
  Cancel();
  if (current_ < 0) throw DatabaseError("No Records");
  lines_.erase(lines_.begin() + current_);
  parsed_ = {};
  modified_ = true;
  SettleAt(std::min(current_, LineCount() - 1));
  if (AfterDelete) AfterDelete(*this);
}

// ---- searching ----------------------------------------------------------------------------

bool TFixedFormatDataSet::Locate(std::string_view keyFields,
                                 const std::vector<std::string>& keyValues,
                                 TLocateOptions options) {
  if (!Active()) return false;
  CheckBrowseMode();
  if (RecordCount() == 0 || TrimBlanks(keyFields).empty()) return false;
  std::vector<int> indexes;
  for (size_t start = 0;;) {
    size_t comma = keyFields.find(',', start);
    std::string_view name = TrimBlanks(keyFields.substr(start, comma - start));
    indexes.push_back(FieldByName(name).Index());
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  for (First(); !eof_; Next()) {
    bool all = true;
    for (size_t k = 0; k < indexes.size() && all; ++k)
      all = KeyMatches(FieldText(indexes[k]), k < keyValues.size() ? keyValues[k] : "", options);
    if (all) return true;
  }
  return false;
}

}  // namespace qs
