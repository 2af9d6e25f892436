#include "schedule/frametimer.h"

namespace qs {

TQtFrameTimer::TQtFrameTimer(int intervalOverrideMs) : override_(intervalOverrideMs) {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (OnTimeout) OnTimeout();
  });
}

void TQtFrameTimer::Start(int intervalMs) {
  timer_.start(override_ >= 0 ? override_ : intervalMs);
}

}  // namespace qs
