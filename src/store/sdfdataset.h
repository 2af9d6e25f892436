// A table over a delimited text file: one record per line, values separated by a delimiter
// and optionally enclosed in double quotes.
#pragma once

#include "store/fixedformatdataset.h"

namespace qs {

class TSdfDataSet : public TFixedFormatDataSet {
 public:
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char value);
  // The first line holds the field names and is not a record. Switched off at open when the
  // file is empty or its first line is blank.
  bool FirstLineAsSchema() const { return firstLineAsSchema_; }
  void SetFirstLineAsSchema(bool value);

  // How a line splits into values (exposed for the tests and the manual list).
  std::string_view NextValue(std::string_view line, size_t& pos, bool& atEnd) const override;
  std::string BuildLine(const std::vector<std::string>& values) const override;

 protected:
  std::vector<std::string> DefaultFieldNames(bool& firstLineIsHeader) override;

 private:
  char delimiter_ = ',';
  bool firstLineAsSchema_ = false;
};

}  // namespace qs
