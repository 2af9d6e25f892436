// Regional date and time texts: four-digit years, no time zone, round trips, bad texts.
#include "platform/regional.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "app/errors.h"

namespace qs {
namespace {

class LocaleScope {
 public:
  explicit LocaleScope(QLocale locale) { QLocale::setDefault(locale); }
  ~LocaleScope() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

TEST(Regional, DatesAndTimesInSeveralLocales) {
  struct Case {
    QLocale locale;
    const char* date;
    const char* time;
  } cases[] = {
      {QLocale(QLocale::English, QLocale::UnitedStates), "3/7/2026", "2:05:09 PM"},
      {QLocale(QLocale::German, QLocale::Germany), "07.03.2026", "14:05:09"},
      {QLocale(QLocale::English, QLocale::UnitedKingdom), "07/03/2026", "14:05:09"},
      {QLocale(QLocale::Japanese, QLocale::Japan), "2026/03/07", "14\u6642" "05\u5206" "09\u79D2"},
  };
  const QDate date(2026, 3, 7);
  const QTime time(14, 5, 9);
  for (const auto& c : cases) {
    LocaleScope scope(c.locale);
    const std::string d = regional::FormatDate(date);
    const std::string t = regional::FormatTime(time);
    EXPECT_EQ(d, c.date) << c.locale.name().toStdString();
    EXPECT_EQ(t, c.time) << c.locale.name().toStdString();
    EXPECT_EQ(regional::ParseDate(d), date);
    EXPECT_EQ(regional::ParseTime(t), time);
  }
}

TEST(Regional, TwoDigitYearsNeverComeBackAsAnotherCentury) {
  EXPECT_EQ(regional::ParseDate(regional::FormatDate(QDate(1926, 1, 2))), QDate(1926, 1, 2));
  EXPECT_EQ(regional::ParseDate(regional::FormatDate(QDate(2026, 1, 2))), QDate(2026, 1, 2));
}

TEST(Regional, TextsThatAreNotDatesOrTimesAreConversionErrors) {
  for (const char* bad : {"", "yesterday", "13/45/2026", "2026-03-07"}) {
    try {
      regional::ParseDate(bad);
      ADD_FAILURE() << "parsed " << bad;
    } catch (const ConversionError& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("'") + bad + "'"), std::string::npos);
    }
  }
  EXPECT_THROW(regional::ParseTime("25:00:00 PM"), ConversionError);
  EXPECT_THROW(regional::ParseTime("noon"), ConversionError);
}

}  // namespace
}  // namespace qs
