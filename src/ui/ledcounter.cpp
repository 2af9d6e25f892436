#include "ui/ledcounter.h"

namespace qs {

TLedCounter::TLedCounter(QWidget* parent) : QLCDNumber(3, parent) {
  // Solid segments: shaded ones read as faint outlines on a light ground.
  setSegmentStyle(QLCDNumber::Flat);
  setFrameShape(QFrame::NoFrame);
  setFixedSize(54, 30);
  Show({});
}

void TLedCounter::Show(const TCounter& counter) {
  green_ = counter.green;
  display(counter.count);
  const QColor colour = counter.green ? QColor(0x00, 0x88, 0x00) : QColor(0xFF, 0x00, 0x00);
  QPalette p = palette();
  p.setColor(QPalette::WindowText, colour);
  setPalette(p);
  // A skin's style sheet would override the palette; the segments take the style's colour.
  setStyleSheet(QStringLiteral("QLCDNumber { color: %1; background: transparent; }").arg(colour.name()));
}

}  // namespace qs
