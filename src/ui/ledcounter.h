// An LED-style counter: a number in green, or in red once it is over its limit.
#pragma once

#include <QLCDNumber>

#include "projects/projecteditor.h"

namespace qs {

class TLedCounter : public QLCDNumber {
  Q_OBJECT
 public:
  explicit TLedCounter(QWidget* parent = nullptr);

  void Show(const TCounter& counter);
  bool Green() const { return green_; }

 private:
  bool green_ = true;
};

}  // namespace qs
