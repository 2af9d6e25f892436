#include "app/clock.h"

namespace qs::clock {
namespace {
std::function<QDateTime()>& Source() {
  static std::function<QDateTime()> source;
  return source;
}
}  // namespace

QDateTime Now() { return Source() ? Source()() : QDateTime::currentDateTime(); }

qint64 NowMSecs() {
  return Source() ? Source()().toMSecsSinceEpoch() : QDateTime::currentMSecsSinceEpoch();
}

void Set(std::function<QDateTime()> source) { Source() = std::move(source); }

Fixed::Fixed(const QDateTime& moment) {
  Set([moment] { return moment; });
}
Fixed::~Fixed() { Set(nullptr); }

}  // namespace qs::clock
