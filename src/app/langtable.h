// The language table: every caption and message of the program, looked up by key.
//
// The table is a list of text lines. A line "key=value" defines an entry; other lines (the
// section lines [lables], [errors], [question], separators, empty lines) stay in the table
// but define nothing. The first line whose key matches wins.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/appfolder.h"

namespace qs {

class TLanguageTable {
 public:
  // Starts with the built-in English table.
  TLanguageTable() { LoadBuiltin(); }

  // The table generated at build time from data/english.txt.
  void LoadBuiltin();

  // The value of the first line whose key equals `key` (ASCII letter case ignored), or an
  // empty text when no line has that key.
  std::string Lookup(std::string_view key) const;

  // Replaces the whole table by the lines of the file (lines end at CR, LF or CR LF).
  // Throws IoError when the file cannot be read; the table is then unchanged.
  void LoadTable(const std::string& path);

  void Clear() { lines_.clear(); }
  void SetLines(std::vector<std::string> lines) { lines_ = std::move(lines); }
  const std::vector<std::string>& Lines() const { return lines_; }

  // The text before the first "=", or an empty text for a line without "=".
  static std::string KeyOf(const std::string& line);
  // The lines of a table file's bytes.
  static std::vector<std::string> SplitLines(std::string_view bytes);

 private:
  std::vector<std::string> lines_;
};

enum class TLanguage { English, Spanish };

// The language switch: English loads \english.txt and leaves the table as it was when that
// fails; Spanish empties the table first and loads \spanish.txt, so a failure leaves it
// empty. A failure throws IoError; the caller applies the table only after a success.
void SwitchLanguage(TLanguageTable& table, const TAppFolder& folder, TLanguage language);

// The table chosen in the Options window: "english" the built-in table, "spanish"
// \spanish.txt, "custom" \lang.ini. The table changes only when the file loads; IoError
// otherwise, and ConversionError for any other choice.
void LoadChosenTable(TLanguageTable& table, const TAppFolder& folder, std::string_view choice);

// Start-up: \lang.ini, when it exists, replaces the built-in table. True when it did.
bool LoadStartupTable(TLanguageTable& table, const TAppFolder& folder);

}  // namespace qs
