// The user's regional date and time formats, as every stored date and time is written.
//
// Dates use the locale's short date format with the year always in four digits (a two-digit
// year would read 26 back as 1926); times use the locale's long time format without its time
// zone. Both follow QLocale(), so tests pin the locale with QLocale::setDefault.
#pragma once

#include <QDate>
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

}  // namespace qs::regional
