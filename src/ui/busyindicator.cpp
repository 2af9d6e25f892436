#include "ui/busyindicator.h"

#include <QPainter>
#include <cmath>

namespace qs {

TBusyIndicator::TBusyIndicator(QWidget* parent) : QWidget(parent) {
  setFixedSize(sizeHint());
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TBusyIndicator::Show(bool shown, int frame) {
  const int f = ((frame % kFrames) + kFrames) % kFrames;
  if (shown == shown_ && f == frame_) return;
  shown_ = shown;
  frame_ = f;
  update();
}

void TBusyIndicator::paintEvent(QPaintEvent*) {
  if (!shown_) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const QPointF centre(width() / 2.0, height() / 2.0);
  const double radius = std::min(width(), height()) / 2.0 - 3.0;
  const QColor lit = palette().color(QPalette::Highlight);
  for (int i = 0; i < kFrames; ++i) {
    // The lit dot, and the two behind it fading, turn clockwise from twelve o'clock.
    const int behind = (frame_ - i + kFrames) % kFrames;
    QColor c = lit;
    c.setAlphaF(behind == 0 ? 1.0 : behind == 1 ? 0.6 : behind == 2 ? 0.35 : 0.15);
    p.setBrush(c);
    const double angle = 2 * M_PI * i / kFrames - M_PI / 2;
    p.drawEllipse(centre + QPointF(radius * std::cos(angle), radius * std::sin(angle)), 2.2, 2.2);
  }
}

}  // namespace qs
