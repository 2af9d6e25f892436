// The INI store: whole-file access to an INI text file.
//
// Opening a store reads the whole file into memory; reads and writes work on memory; Close()
// writes the whole file back if anything changed. From opening to Close() the store holds
// the file's TStoreLock, so another process's store on the same file waits its turn. Every caller opens a store on a full path,
// reads or writes a few values and closes it before its command returns.
//
// Section names and keys are compared ignoring the letter case of ASCII letters; the first
// occurrence of a key in a section is the one read, replaced or deleted. Keys and values are
// never trimmed. A line holds at most 255 bytes, cut at a UTF-8 boundary.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/sectionlist.h"
#include "store/storelock.h"

namespace qs {

class TBigIniFile {
 public:
  static constexpr size_t kMaxLine = 255;
  static constexpr size_t kMaxPath = 255;

  // Opens the store on `fileName` and reads the file (a missing file is an empty store).
  // Throws IoError when the file exists but cannot be read, and when the path is longer than
  // 255 bytes (the store never cuts it to another file's name). An empty name gives a store
  // in memory only.
  explicit TBigIniFile(std::string fileName);
  virtual ~TBigIniFile();
  TBigIniFile(const TBigIniFile&) = delete;
  TBigIniFile& operator=(const TBigIniFile&) = delete;

  // Writes the file if the store changed (SaveToDisk) and ends the store's use. Every store
  // must be closed; a store dropped without Close() writes nothing.
  void Close();

  virtual std::string ReadText(std::string_view section, std::string_view key,
                               std::string_view defaultText);
  virtual void WriteText(std::string_view section, std::string_view key, std::string_view value);
  virtual int32_t ReadNumber(std::string_view section, std::string_view key, int32_t defaultValue);
  virtual void WriteNumber(std::string_view section, std::string_view key, int32_t value);
  virtual bool ReadFlag(std::string_view section, std::string_view key, bool defaultValue);
  virtual void WriteFlag(std::string_view section, std::string_view key, bool value);
  virtual void ReadKeyList(std::string_view section, std::vector<std::string>& target);
  virtual void ReadSectionNames(std::vector<std::string>& target);
  virtual void ReadSectionLines(std::string_view section, std::vector<std::string>& target);
  virtual void DropSection(std::string_view section);
  virtual void DropKey(std::string_view section, std::string_view key);
  virtual void ReadAllLines(std::vector<std::string>& target);
  virtual void SaveToDisk();
  virtual void LoadFromDisk();

  void WriteSectionLines(std::string_view section, const std::vector<std::string>& source);

  // Lets other processes at the file before Close(), for a store kept open only to be read
  // from: its writes would no longer be safe.
  void ReleaseLock() { lock_.reset(); }

  const std::string& FileName() const { return fileName_; }
  bool Changed() const { return changed_; }
  const TSectionList& Sections() const { return sections_; }

  // The number forms of ReadNumber: "0x1F"; otherwise optional leading blanks, an optional
  // sign and decimal digits, or hexadecimal digits after "$", "x" or "X". False for anything
  // else and for values outside the signed 32-bit range.
  static bool ParseNumber(std::string_view text, int32_t& value);

  // A line as it is stored: CR and LF (which would split it in the file) become blanks, and
  // it is cut to 255 bytes at a UTF-8 boundary.
  static std::string StoredLine(std::string_view text);

 protected:
  // The section and line of a key. `section` is -1 when the section does not exist, `line` -1
  // when the key does not exist in it.
  struct KeyPlace {
    int section = -1;
    int line = -1;
  };
  KeyPlace FindKey(std::string_view section, std::string_view key, bool mayCreate);

 private:
  void Parse(std::string_view bytes);
  // A line made by a write, kept for as long as the store lives.
  std::string_view Own(std::string text);

  std::string fileName_;
  std::string buffer_;             // the file as read: loaded lines point into it
  std::deque<std::string> owned_;  // lines made by writes
  TSectionList sections_;
  bool changed_ = false;
  bool closed_ = false;
  int cursor_ = 0;
  std::unique_ptr<TStoreLock> lock_;  // from opening to Close()
};

class TBiggerIniFile : public TBigIniFile {
 public:
  using TBigIniFile::TBigIniFile;

  // Colours are 0x00BBGGRR values stored as hexadecimal digits. A stored text that is not
  // hexadecimal (an empty one too) throws ConversionError.
  virtual uint32_t ReadColour(std::string_view section, std::string_view key,
                              uint32_t defaultValue);
  // Writes exactly 8 upper-case hexadecimal digits (12632256 is "00C0C0C0").
  virtual void WriteColour(std::string_view section, std::string_view key, uint32_t value);
};

}  // namespace qs
