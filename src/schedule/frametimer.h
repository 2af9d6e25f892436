// The timer that steps the tray icon's animation. The program uses a Qt timer; tests give a
// timer they fire themselves, so they step the animation in test time.
#pragma once

#include <QTimer>
#include <functional>

namespace qs {

class IFrameTimer {
 public:
  virtual ~IFrameTimer() = default;
  virtual void Start(int intervalMs) = 0;
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
  // Called at every interval while running.
  std::function<void()> OnTimeout;
};

// A QTimer on the event loop. `intervalOverrideMs` >= 0 replaces the interval asked for
// (tests of the command line step the animation at full speed).
class TQtFrameTimer : public IFrameTimer {
 public:
  explicit TQtFrameTimer(int intervalOverrideMs = -1);
  void Start(int intervalMs) override;
  void Stop() override { timer_.stop(); }
  bool Running() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
  int override_;
};

}  // namespace qs
