#include "ui/ledcounter.h"

namespace qs {

TLedCounter::TLedCounter(QWidget* parent) : QLCDNumber(3, parent) {
  setSegmentStyle(QLCDNumber::Filled);
  setFrameShape(QFrame::NoFrame);
  setFixedSize(54, 30);
  Show({});
}

void TLedCounter::Show(const TCounter& counter) {
  green_ = counter.green;
  display(counter.count);
  QPalette p = palette();
  p.setColor(QPalette::WindowText, counter.green ? QColor(0x00, 0x88, 0x00) : QColor(0xFF, 0x00, 0x00));
  setPalette(p);
}

}  // namespace qs
