#include "reports/reportproperties.h"

#include <algorithm>

#include "app/settings.h"
#include "store/biginifile.h"

namespace qs {

void TReportProperties::SetBorder(int value) {
  values_.border = std::clamp(value, 0, 10);
  saveEnabled_ = true;
}
void TReportProperties::SetCellPadding(int value) {
  values_.cellPadding = std::clamp(value, 0, 10);
  saveEnabled_ = true;
}
void TReportProperties::SetCellSpacing(int value) {
  values_.cellSpacing = std::clamp(value, 0, 10);
  saveEnabled_ = true;
}
void TReportProperties::SetBands(bool on) {
  values_.bands = on;
  saveEnabled_ = true;
}
void TReportProperties::SetTemplateFile(std::string path) {
  values_.templateFile = std::move(path);
  saveEnabled_ = true;
}

void TReportProperties::Save() {
  TBiggerIniFile ini(folder_.Path(kSettingsFile));
  TSettings settings(ini, folder_);
  settings.WriteNumber(setting::kReportBorder, values_.border);
  settings.WriteNumber(setting::kReportCellPadding, values_.cellPadding);
  settings.WriteNumber(setting::kReportCellSpacing, values_.cellSpacing);
  settings.WriteText(setting::kReportTemplateFileKey, values_.templateFile);
  settings.WriteFlag(setting::kReportBands, values_.bands);
  ini.Close();
  saveEnabled_ = false;
}

}  // namespace qs
