// The settings file's keys, types and defaults.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <set>

#include "app/clock.h"
#include "app/errors.h"
#include "support/tempfolder.h"

namespace qs {
namespace {

TEST(Settings, DefaultsOfAnEmptySettingsFile) {
  test::TempFolder dir;
  TAppFolder folder = dir.AppFolder();
  clock::Fixed now(QDateTime(QDate(2026, 3, 31), QTime(9, 0)));
  TBiggerIniFile ini(folder.Path(kSettingsFile));
  TSettings s(ini, folder);
  using namespace setting;
  EXPECT_FALSE(s.Flag(kSchedule));
  EXPECT_EQ(s.Text(kLang), "english");
  EXPECT_EQ(s.Text(kApp), "Quorvex Summit");
  EXPECT_EQ(s.Text(kAppName), "quorvex-summit");
  EXPECT_EQ(s.Text(kDbUp), "2/28/2026");  // today one month back, clamped to the month's end
  EXPECT_EQ(s.Text(kSoftUp), "2/28/2026");
  EXPECT_EQ(s.Text(kSubTemplate), dir.Root() + "/data/domains/report-template.htm");
  EXPECT_EQ(s.Text(kUpdate), "0");
  EXPECT_EQ(s.Number(kTimeout), 90);
  EXPECT_EQ(s.Number(kPorts), 5);
  EXPECT_FALSE(s.Flag(kOnDemand));
  EXPECT_EQ(s.Text(kProxyHost), "");
  EXPECT_EQ(s.Number(kReportBorder), 10);
  EXPECT_TRUE(s.Flag(kReportBands));
  EXPECT_EQ(s.Number(kDoorBorder), 1);
  EXPECT_EQ(s.Colour(kDoorBorderColor), 12632256u);
  EXPECT_EQ(s.Colour(kDoorTableBgColor), 16777215u);
  EXPECT_EQ(s.Colour(kDoorTitleColor), 255u);
  EXPECT_EQ(s.Colour(kDoorPageBgColor), 0u);
  EXPECT_EQ(s.Number(kDoorTitleSize), 14);
  EXPECT_EQ(s.Text(kDoorBodyFace), "Arial");
  EXPECT_EQ(s.Text(kDoorJava), "OFF");
  ini.Close();
  EXPECT_FALSE(dir.Exists("dfd.ini"));
}

TEST(Settings, FlagsAreWrittenOneAndZeroAndKeysIgnoreCase) {
  test::TempFolder dir;
  TAppFolder folder = dir.AppFolder();
  TBiggerIniFile ini(folder.Path(kSettingsFile));
  TSettings s(ini, folder);
  s.WriteFlag(setting::kSchedule, true);
  s.WriteFlag(setting::kKeyProxy, false);
  s.WriteText(setting::kProxyUsername, "me");
  s.WriteColour(setting::kDoorBorderColor, 0x00C0C0C0);
  ini.Close();
  EXPECT_EQ(dir.Read("dfd.ini"),
            "[Application]\r\nschedule=1\r\n\r\n[Proxy]\r\nKeyProxy=0\r\nProxyUserName=me\r\n\r\n"
            "[Doorway]\r\nbordercolor=00C0C0C0\r\n\r\n");
  TBiggerIniFile back(folder.Path(kSettingsFile));
  EXPECT_EQ(back.ReadText("proxy", "ProxyUsername", ""), "me");
  back.Close();
}

TEST(Settings, EveryKeyIsListedOnceWithADefaultOfItsType) {
  test::TempFolder dir;
  TAppFolder folder = dir.AppFolder();
  TBiggerIniFile ini("");
  TSettings s(ini, folder);
  std::set<std::string> seen;
  for (const SettingKey* key : AllSettings()) {
    EXPECT_TRUE(seen.insert(std::string(key->section) + "/" + std::string(key->key)).second)
        << key->key;
    const std::string d = s.DefaultText(*key);
    int32_t n = 0;
    switch (key->type) {
      case SettingType::Flag: EXPECT_TRUE(d == "0" || d == "1") << key->key; break;
      case SettingType::Number:
      case SettingType::IntegerText: EXPECT_TRUE(TBigIniFile::ParseNumber(d, n)) << key->key; break;
      case SettingType::Colour: EXPECT_EQ(d.size(), 8u) << key->key; break;
      default: break;
    }
  }
  EXPECT_EQ(seen.size(), 43u);
  ini.Close();
}

TEST(Settings, AColourThatIsNotHexadecimalFails) {
  test::TempFolder dir;
  dir.Write("dfd.ini", "[Doorway]\nbordercolor=silver\n");
  TAppFolder folder = dir.AppFolder();
  TBiggerIniFile ini(folder.Path(kSettingsFile));
  TSettings s(ini, folder);
  EXPECT_THROW(s.Colour(setting::kDoorBorderColor), ConversionError);
  ini.Close();
}

}  // namespace
}  // namespace qs
