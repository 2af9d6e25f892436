// The one source of "now" for every rule that depends on the date or the time of day.
// Tests set it; the program uses the system clock.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <functional>

namespace qs::clock {

QDateTime Now();
// The same moment as milliseconds since the epoch; without a replaced clock it reads the
// system clock alone, without the local time conversion of Now().
qint64 NowMSecs();
inline QDate Today() { return Now().date(); }
inline QTime TimeOfDay() { return Now().time(); }

// Replaces the clock (an empty function restores the system clock).
void Set(std::function<QDateTime()> source);

// Sets a fixed moment for as long as the object lives.
class Fixed {
 public:
  explicit Fixed(const QDateTime& moment);
  ~Fixed();
  Fixed(const Fixed&) = delete;
  Fixed& operator=(const Fixed&) = delete;
};

}  // namespace qs::clock
