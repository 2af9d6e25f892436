#include "app/settings.h"

#include "app/appstate.h"
#include "app/clock.h"
#include "platform/regional.h"

namespace qs {

std::span<const SettingKey* const> AllSettings() {
  using namespace setting;
  static const SettingKey* const all[] = {
      &kSchedule,         &kLang,           &kApp,
      &kAppName,          &kDbUp,           &kSoftUp,
      &kSubTemplate,      &kUpdate,         &kDb,
      &kManDb,            &kCats,           &kRank,
      &kSoftware,         &kTimeout,        &kPorts,
      &kOnDemand,         &kHangUp,         &kConPrompt,
      &kUpdateUrl,
      &kKeyProxy,         &kProxyHost,      &kProxyPort,
      &kProxyUsername,    &kProxyPassword,  &kCaFile,
      &kReportBorder,
      &kReportCellPadding, &kReportCellSpacing, &kReportTemplateFileKey,
      &kReportBands,      &kDoorBorder,     &kDoorBorderColor,
      &kDoorPageBgColor,  &kDoorTableBgColor, &kDoorCellPadding,
      &kDoorCellSpacing,  &kDoorTitleSize,  &kDoorTitleFace,
      &kDoorTitleColor,   &kDoorBodySize,   &kDoorBodyFace,
      &kDoorBodyColor,    &kDoorJava,
  };
  return all;
}

std::string TSettings::DefaultText(const SettingKey& key) const {
  switch (key.rule) {
    case SettingDefault::TodayOneMonthBack:
      return regional::FormatDate(clock::Today().addMonths(-1));
    case SettingDefault::ReportTemplatePath:
      return folder_.Path(kReportTemplateFile);
    case SettingDefault::Fixed:
      break;
  }
  return std::string(key.fixedDefault);
}

std::string TSettings::Text(const SettingKey& key) {
  return ini_.ReadText(key.section, key.key, DefaultText(key));
}

int32_t TSettings::Number(const SettingKey& key) {
  int32_t fallback = 0;
  TBigIniFile::ParseNumber(DefaultText(key), fallback);
  return ini_.ReadNumber(key.section, key.key, fallback);
}

bool TSettings::Flag(const SettingKey& key) {
  return ini_.ReadFlag(key.section, key.key, DefaultText(key) != "0");
}

uint32_t TSettings::Colour(const SettingKey& key) {
  return ini_.ReadColour(key.section, key.key,
                         static_cast<uint32_t>(std::stoul(DefaultText(key), nullptr, 16)));
}

void TSettings::WriteText(const SettingKey& key, std::string_view value) {
  ini_.WriteText(key.section, key.key, value);
}
void TSettings::WriteNumber(const SettingKey& key, int32_t value) {
  ini_.WriteNumber(key.section, key.key, value);
}
void TSettings::WriteFlag(const SettingKey& key, bool value) {
  ini_.WriteFlag(key.section, key.key, value);
}
void TSettings::WriteColour(const SettingKey& key, uint32_t value) {
  ini_.WriteColour(key.section, key.key, value);
}

void ReadDoorwaySettings(TSettings& settings, TDoorwaySettings& d) {
  using namespace setting;
  d.border = settings.Number(kDoorBorder);
  d.borderColor = settings.Colour(kDoorBorderColor);
  d.pageBgColor = settings.Colour(kDoorPageBgColor);
  d.tableBgColor = settings.Colour(kDoorTableBgColor);
  d.cellPadding = settings.Number(kDoorCellPadding);
  d.cellSpacing = settings.Number(kDoorCellSpacing);
  d.titleSize = settings.Number(kDoorTitleSize);
  d.titleFace = settings.Text(kDoorTitleFace);
  d.titleColor = settings.Colour(kDoorTitleColor);
  d.bodySize = settings.Number(kDoorBodySize);
  d.bodyFace = settings.Text(kDoorBodyFace);
  d.bodyColor = settings.Colour(kDoorBodyColor);
  d.java = settings.Text(kDoorJava);
}

void ReadReportSettings(TSettings& settings, TReportSettings& r) {
  using namespace setting;
  r.border = settings.Number(kReportBorder);
  r.cellPadding = settings.Number(kReportCellPadding);
  r.cellSpacing = settings.Number(kReportCellSpacing);
  r.templateFile = settings.Text(kReportTemplateFileKey);
  r.bands = settings.Flag(kReportBands);
}

std::string ReadSettingText(const TAppFolder& folder, const SettingKey& key) {
  TBiggerIniFile ini(folder.Path(kSettingsFile));
  std::string value = TSettings(ini, folder).Text(key);
  ini.Close();
  return value;
}

void WriteSettingText(const TAppFolder& folder, const SettingKey& key, std::string_view value) {
  TBiggerIniFile ini(folder.Path(kSettingsFile));
  TSettings(ini, folder).WriteText(key, value);
  ini.Close();
}

}  // namespace qs
