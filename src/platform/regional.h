// The user's regional date and time formats, as every stored date and time is written.
//
// Dates use the locale's short date format with the year always in four digits (a two-digit
// year would read 26 back as 1926); times use the locale's long time format without its time
// zone. Both follow QLocale(), so tests pin the locale with QLocale::setDefault.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <string>
#include <string_view>

namespace qs::regional {

QString ShortDateFormat();
QString LongTimeFormat();

std::string FormatDate(const QDate& date);
std::string FormatTime(const QTime& time);

// Throw ConversionError, with the text in the message, when the text is not a date (a time)
// in the format above.
QDate ParseDate(std::string_view text);
QTime ParseTime(std::string_view text);

// Reads many stored dates and times (a long history file) with the formats worked out
// once, instead of once per text. The same rules and errors as ParseDate and ParseTime.
class TReader {
 public:
  TReader();
  QDate Date(std::string_view text) const;
  QTime Time(std::string_view text) const;

 private:
  QLocale locale_;
  QString dateFormat_, timeFormat_;
};

}  // namespace qs::regional
