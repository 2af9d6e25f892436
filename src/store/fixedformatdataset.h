// A table over the lines of a text file: the whole file is held in memory as its lines, each
// line is one record of named text fields, and the file is written back whole at Close()
// when anything changed. A subclass says how a line splits into values and how values are
// joined into a line.
//
// One cursor, one filter and one set of callbacks per table: every user of a table object
// sees the record, view and changes of every other.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qs {

class TFixedFormatDataSet;

enum class TDataSetState { Inactive, Browse, Edit, Insert };

struct TLocateOptions {
  bool partialKey = false;
  bool caseInsensitive = false;
};

// A field of the table, read and written on the table's current record.
class TDataField {
 public:
  TDataField(TFixedFormatDataSet& table, int index) : table_(&table), index_(index) {}
  const std::string& Name() const;
  int Index() const { return index_; }
  int Size() const;  // the width in characters
  std::string AsString() const;
  // A decimal integer; anything else throws ConversionError "'%s' is not a valid integer value".
  int32_t AsInteger() const;
  void SetAsString(std::string_view value) const;

 private:
  TFixedFormatDataSet* table_;
  int index_;
};

class TFixedFormatDataSet {
 public:
  using Callback = std::function<void(TFixedFormatDataSet&)>;
  using FilterCallback = std::function<void(TFixedFormatDataSet&, bool& accept)>;

  TFixedFormatDataSet() = default;
  virtual ~TFixedFormatDataSet() = default;
  TFixedFormatDataSet(const TFixedFormatDataSet&) = delete;
  TFixedFormatDataSet& operator=(const TFixedFormatDataSet&) = delete;

  // Properties that can change only while the table is closed; changing one on an open
  // table throws "Cannot perform this operation on an open dataset".
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string name);
  bool FileMustExist() const { return fileMustExist_; }
  void SetFileMustExist(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool TrimSpace() const { return trimSpace_; }
  void SetTrimSpace(bool value);
  const std::vector<std::string>& Schema() const { return schema_; }
  void SetSchema(std::vector<std::string> schema);

  // May change at any time; Refresh() makes a change take effect on the current record.
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool value) { filtered_ = value; }
  const std::string& Filter() const { return filter_; }
  void SetFilter(std::string value) { filter_ = std::move(value); }

  FilterCallback OnFilterRecord;
  Callback AfterInsert, AfterPost, AfterDelete;
  // Told when the filter callback throws; the candidate keeps the accept flag as it was left.
  std::function<void(const std::string&)> OnFilterError;

  // Open loads the file ("Cannot open file %s"); Close writes it back when modified and not
  // read-only. A close whose file cannot be written throws "Cannot create file %s" and leaves
  // the table open with its changes, so a later close can write them.
  void Open();
  void Close();
  bool Active() const { return state_ != TDataSetState::Inactive; }
  TDataSetState State() const { return state_; }
  bool TableModified() const { return modified_; }

  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const { return current_ < 0; }

  // Lines of the table, hidden ones included (a header line of field names is not a record).
  int RecordCount() const;
  // The current record's tag (its bookmark and record number), or 0 without one.
  int32_t RecNo() const;
  int32_t GetBookmark() const { return RecNo(); }
  // Makes the record with this tag current; false when no line has it.
  bool GotoBookmark(int32_t tag);

  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TDataField Fields(int index) { return TDataField(*this, index); }
  // Field names ignore ASCII letter case; an unknown name throws "Field '%s' not found".
  TDataField FieldByName(std::string_view name);
  int FieldIndex(std::string_view name) const;  // -1 when unknown

  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  void Refresh();

  // Searches from the first visible record for one whose fields (names separated by commas)
  // equal the values, one per field. Without a match the cursor is left at the end (Eof).
  bool Locate(std::string_view keyFields, const std::vector<std::string>& keyValues,
              TLocateOptions options = {});

  // Browsing without the cursor, for views that show many records at once. Line numbers
  // hold until the next Post, Delete, Close or change of filter.
  // The lines of the records the filter shows, in file order.
  std::vector<int> VisibleLines();
  // A field's stored value on a line, read as FieldText reads it on the current record.
  std::string LineFieldText(int line, int index);
  // The current record's line, or -1.
  int CurrentLine() const { return current_; }
  // The tag (bookmark) of the record on a line, which stays with it when lines move.
  int32_t LineTag(int line) const {
    return line >= 0 && line < LineCount() ? lines_[static_cast<size_t>(line)].tag : 0;
  }
  // Makes the record on `line` current (a pending edit is posted or dropped first, as by
  // any move); false when there is no such record.
  bool GotoLine(int line);

  // Writes the table to its file now when it changed, and keeps it open: the changes are
  // safe from a crash. A record being edited is not posted by this. Throws "Cannot create
  // file %s" when the file cannot be written; the table stays modified.
  void SaveToDisk();

  // The field's value on the record being read (for a filter callback, its candidate).
  std::string FieldText(int index);
  void SetFieldText(int index, std::string_view value);
  const std::string& FieldName(int index) const { return fields_[static_cast<size_t>(index)].name; }
  int FieldWidth(int index) const { return fields_[static_cast<size_t>(index)].width; }

 protected:
  struct Field {
    std::string name;
    int width;
  };

  // How one line splits into values: called with the line and the scan position, returns
  // the next value and moves the position past it and its delimiter. `atEnd` is set when the
  // line holds no further value (this field and all later ones are blank).
  virtual std::string_view NextValue(std::string_view line, size_t& pos, bool& atEnd) const = 0;
  // The line for a posted record, from the values of every field in order.
  virtual std::string BuildLine(const std::vector<std::string>& values) const = 0;
  // The field names when the schema gives none (called with the loaded lines), and whether
  // the first line is a header that is not a record.
  virtual std::vector<std::string> DefaultFieldNames(bool& firstLineIsHeader);
  // Raw lines of the loaded table, for DefaultFieldNames.
  std::string_view LineText(int index) const { return lines_[static_cast<size_t>(index)].text; }
  int LineCount() const { return static_cast<int>(lines_.size()); }
  void RequireClosed() const;
  // A table with the one field "Line" reads each whole line as its value.
  static constexpr std::string_view kWholeLineField = "Line";

 private:
  struct Line {
    std::string_view text;  // into the file buffer or into an owned, posted line
    int32_t tag;
  };
  // The values of one line, split as far as they were needed.
  struct Parsed {
    int line = -1;
    size_t pos = 0;
    bool atEnd = false;
    std::vector<std::string_view> values;
  };

  void Load();
  void BuildFields();
  std::string_view ParsedValue(int line, int field);
  // A stored value as it reads: blanks trimmed, or filled to the field's width.
  std::string Shown(std::string_view value, int index) const;
  bool Accepts(int line);
  int FirstRecordLine() const { return headerLine_ ? 1 : 0; }
  // The nearest visible line from `from` in the direction, or -1.
  int Seek(int from, int step);
  void SettleAt(int line);  // current record at the line or the nearest visible one after it
  void CheckBrowseMode();   // posts a changed pending record, drops an unchanged one
  // A new record before the current one, or at the end (also on an empty table).
  void StartInsert(bool atEnd);
  void RequireWritable() const;
  void WriteBack();
  int ReadLine() const { return candidate_ >= 0 ? candidate_ : current_; }

  std::string fileName_;
  bool fileMustExist_ = true;
  bool readOnly_ = false;
  bool trimSpace_ = true;
  std::vector<std::string> schema_;
  bool filtered_ = false;
  std::string filter_;

  TDataSetState state_ = TDataSetState::Inactive;
  std::string buffer_;             // the file as read
  std::deque<std::string> owned_;  // lines built by Post
  std::vector<Line> lines_;
  std::vector<Field> fields_;
  bool headerLine_ = false;
  int32_t lastTag_ = 0;
  int current_ = -1;
  int candidate_ = -1;  // the line a filter callback is deciding on
  bool eof_ = true, bof_ = true;
  bool modified_ = false;
  Parsed parsed_;

  // The record being edited or inserted.
  std::vector<std::string> editValues_;
  bool editChanged_ = false;
  int insertAt_ = -1;

  friend class TDataField;
};

}  // namespace qs
