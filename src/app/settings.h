// Every section and key of the settings file \dfd.ini, with its type and default, in one
// place. Flags are written "1"/"0" here (project files use "-1"/"0"), colours as 8 hexadecimal
// digits, numbers in decimal, dates in the regional short date format.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/appfolder.h"
#include "store/biginifile.h"

namespace qs {

enum class SettingType { Flag, Text, Number, Colour, DateText, IntegerText };

// How a key's default is found: a fixed text, or one computed when it is read.
enum class SettingDefault {
  Fixed,
  TodayOneMonthBack,   // the regional short date of today one month back
  ReportTemplatePath,  // the full path of \data\domains\report-template.htm
};

struct SettingKey {
  std::string_view section;
  std::string_view key;
  SettingType type;
  std::string_view fixedDefault;
  SettingDefault rule = SettingDefault::Fixed;
};

inline constexpr std::string_view kSettingsFile = "\\dfd.ini";
inline constexpr std::string_view kReportTemplateFile = "\\data\\domains\\report-template.htm";

namespace setting {
using enum SettingType;
// [Application]
inline constexpr SettingKey kSchedule{"Application", "schedule", Flag, "0"};
inline constexpr SettingKey kLang{"Application", "lang", Text, "english"};
inline constexpr SettingKey kApp{"Application", "app", Text, "Quorvex Summit"};
// The executable's file name on this platform; the software archive stores it under this name.
inline constexpr SettingKey kAppName{"Application", "appname", Text, "quorvex-summit"};
inline constexpr SettingKey kDbUp{"Application", "dbup", DateText, "",
                                  SettingDefault::TodayOneMonthBack};
inline constexpr SettingKey kSoftUp{"Application", "softup", DateText, "",
                                    SettingDefault::TodayOneMonthBack};
inline constexpr SettingKey kSubTemplate{"Application", "subtemplate", Text, "",
                                         SettingDefault::ReportTemplatePath};
inline constexpr SettingKey kUpdate{"Application", "update", IntegerText, "0"};
inline constexpr SettingKey kDb{"Application", "db", IntegerText, "0"};
inline constexpr SettingKey kManDb{"Application", "mandb", IntegerText, "0"};
inline constexpr SettingKey kCats{"Application", "cats", IntegerText, "0"};
inline constexpr SettingKey kRank{"Application", "rank", IntegerText, "0"};
inline constexpr SettingKey kSoftware{"Application", "software", IntegerText, "0"};
inline constexpr SettingKey kTimeout{"Application", "timeout", Number, "90"};
inline constexpr SettingKey kPorts{"Application", "ports", Number, "5"};
inline constexpr SettingKey kOnDemand{"Application", "OnDemand", Flag, "0"};
inline constexpr SettingKey kHangUp{"Application", "HangUp", Flag, "0"};
inline constexpr SettingKey kConPrompt{"Application", "ConPrompt", Flag, "0"};
// The update server's base address, http:// or https://. No address of the publisher is known
// yet, so the default is a reserved name that never resolves: a release sets the publisher's
// own.
inline constexpr SettingKey kUpdateUrl{"Application", "updateurl", Text,
                                       "https://updates.quorvex-summit.invalid"};
// [Proxy]
inline constexpr SettingKey kKeyProxy{"Proxy", "KeyProxy", Flag, "0"};
inline constexpr SettingKey kProxyHost{"Proxy", "ProxyHost", Text, ""};
inline constexpr SettingKey kProxyPort{"Proxy", "ProxyPort", Text, ""};
// Read as ProxyUsername, written as ProxyUserName: keys ignore letter case.
inline constexpr SettingKey kProxyUsername{"Proxy", "ProxyUserName", Text, ""};
inline constexpr SettingKey kProxyPassword{"Proxy", "ProxyPassword", Text, ""};
// [Security]
// A PEM file of certificate authorities trusted beside the system's own (an inspecting
// company proxy, a test authority); empty for none.
inline constexpr SettingKey kCaFile{"Security", "cafile", Text, ""};
// [Report]
inline constexpr SettingKey kReportBorder{"Report", "border", Number, "10"};
inline constexpr SettingKey kReportCellPadding{"Report", "cellpadding", Number, "5"};
inline constexpr SettingKey kReportCellSpacing{"Report", "cellspacing", Number, "5"};
inline constexpr SettingKey kReportTemplateFileKey{"Report", "templatefile", Text, "",
                                                   SettingDefault::ReportTemplatePath};
inline constexpr SettingKey kReportBands{"Report", "bands", Flag, "1"};
// [Doorway]
inline constexpr SettingKey kDoorBorder{"Doorway", "border", Number, "1"};
inline constexpr SettingKey kDoorBorderColor{"Doorway", "bordercolor", Colour, "00C0C0C0"};
inline constexpr SettingKey kDoorPageBgColor{"Doorway", "pagebgcolor", Colour, "00000000"};
inline constexpr SettingKey kDoorTableBgColor{"Doorway", "tablebgcolor", Colour, "00FFFFFF"};
inline constexpr SettingKey kDoorCellPadding{"Doorway", "cellpadding", Number, "5"};
inline constexpr SettingKey kDoorCellSpacing{"Doorway", "cellspacing", Number, "5"};
inline constexpr SettingKey kDoorTitleSize{"Doorway", "titlesize", Number, "14"};
inline constexpr SettingKey kDoorTitleFace{"Doorway", "titleface", Text, "Arial"};
inline constexpr SettingKey kDoorTitleColor{"Doorway", "titlecolor", Colour, "000000FF"};
inline constexpr SettingKey kDoorBodySize{"Doorway", "bodysize", Number, "12"};
inline constexpr SettingKey kDoorBodyFace{"Doorway", "bodyface", Text, "Arial"};
inline constexpr SettingKey kDoorBodyColor{"Doorway", "bodycolor", Colour, "00000000"};
inline constexpr SettingKey kDoorJava{"Doorway", "java", Text, "OFF"};

// Not in the settings file's description: where the user left the windows, and the language
// table chosen in Options. Geometry and splitter are Qt's own state in Base64; tablelang is
// "english" (built in), "spanish" (\spanish.txt), "custom" (\lang.ini) or empty (the
// start-up's choice: \lang.ini when there is one). Kept apart from `lang`, which also picks
// the category list and the update packages.
inline constexpr SettingKey kWindowGeometry{"Window", "geometry", Text, ""};
inline constexpr SettingKey kWindowSplitter{"Window", "splitter", Text, ""};
inline constexpr SettingKey kHelpGeometry{"Window", "help", Text, ""};
inline constexpr SettingKey kTableLang{"Window", "tablelang", Text, ""};
}  // namespace setting

// Every key above, in the order of the settings file's description.
std::span<const SettingKey* const> AllSettings();

// Typed access to the keys of an open settings store, with their defaults.
class TSettings {
 public:
  TSettings(TBiggerIniFile& ini, const TAppFolder& folder) : ini_(ini), folder_(folder) {}

  // The default as text (flags "1"/"0", colours as 8 hexadecimal digits).
  std::string DefaultText(const SettingKey& key) const;

  std::string Text(const SettingKey& key);
  int32_t Number(const SettingKey& key);
  bool Flag(const SettingKey& key);
  uint32_t Colour(const SettingKey& key);  // throws ConversionError on a non-hexadecimal text

  void WriteText(const SettingKey& key, std::string_view value);
  void WriteNumber(const SettingKey& key, int32_t value);
  void WriteFlag(const SettingKey& key, bool value);
  void WriteColour(const SettingKey& key, uint32_t value);

 private:
  TBiggerIniFile& ini_;
  const TAppFolder& folder_;
};

// One value of \dfd.ini, in one opening of the store each.
std::string ReadSettingText(const TAppFolder& folder, const SettingKey& key);
void WriteSettingText(const TAppFolder& folder, const SettingKey& key, std::string_view value);

struct TDoorwaySettings;
struct TReportSettings;

// The [Doorway] keys into the doorway settings, and the [Report] keys into the report
// settings (ConversionError for a stored colour that is not hexadecimal).
void ReadDoorwaySettings(TSettings& settings, TDoorwaySettings& doorway);
void ReadReportSettings(TSettings& settings, TReportSettings& report);

}  // namespace qs
