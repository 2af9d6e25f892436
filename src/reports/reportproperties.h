// The report properties of the Reports view: the values every report uses at once, and
// Save Properties, which is on from the first edit until they are saved.
#pragma once

#include <string>

#include "app/appfolder.h"
#include "app/appstate.h"

namespace qs {

class TReportProperties {
 public:
  // Edits `values` (the shared report settings) in place.
  TReportProperties(const TAppFolder& folder, TReportSettings& values)
      : folder_(folder), values_(values) {}

  const TReportSettings& Values() const { return values_; }
  // Border, Cellpadding and Cellspacing are brought into 0 to 10.
  void SetBorder(int value);
  void SetCellPadding(int value);
  void SetCellSpacing(int value);
  void SetBands(bool on);
  void SetTemplateFile(std::string path);
  // An edit started without a value changed yet (a spin stepped back, a field entered).
  void EditStarted() { saveEnabled_ = true; }

  bool SaveEnabled() const { return saveEnabled_; }
  // Writes the five keys of [Report] into \dfd.ini; Save Properties goes off.
  void Save();

 private:
  const TAppFolder& folder_;
  TReportSettings& values_;
  bool saveEnabled_ = false;
};

}  // namespace qs
