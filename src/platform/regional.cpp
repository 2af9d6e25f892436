#include "platform/regional.h"

#include <QLocale>
#include <QRegularExpression>

#include "app/errors.h"

namespace qs::regional {

QString ShortDateFormat() {
  QString format = QLocale().dateFormat(QLocale::ShortFormat);
  // Any run of "y" that is not already four long becomes "yyyy".
  static const QRegularExpression years(QStringLiteral("y+"));
  format.replace(years, QStringLiteral("yyyy"));
  return format;
}

QString LongTimeFormat() {
  QString format = QLocale().timeFormat(QLocale::LongFormat);
  // Drop the zone ("t" to "tttt") and the blanks or brackets around it, outside quotes.
  QString out;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    QChar c = format[i];
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') continue;
    out += c;
  }
  out.replace(QStringLiteral("()"), QString());
  return out.simplified();
}

std::string FormatDate(const QDate& date) {
  return QLocale().toString(date, ShortDateFormat()).toStdString();
}

std::string FormatTime(const QTime& time) {
  return QLocale().toString(time, LongTimeFormat()).toStdString();
}

QDate ParseDate(std::string_view text) { return TReader().Date(text); }

QTime ParseTime(std::string_view text) { return TReader().Time(text); }

TReader::TReader() : dateFormat_(ShortDateFormat()), timeFormat_(LongTimeFormat()) {}

QDate TReader::Date(std::string_view text) const {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
  QDate date = locale_.toDate(s, dateFormat_);
  if (!date.isValid())
    throw ConversionError("'" + std::string(text) + "' is not a valid date");
  return date;
}

QTime TReader::Time(std::string_view text) const {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
  QTime time = locale_.toTime(s, timeFormat_);
  if (!time.isValid())
    throw ConversionError("'" + std::string(text) + "' is not a valid time");
  return time;
}

}  // namespace qs::regional
