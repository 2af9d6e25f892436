// The tray icon's animation, which is also the scheduler's clock: one frame every 100 ms,
// 16 frames a cycle, and after every 31st cycle (49.6 s) the scheduler's tick.
#pragma once

#include <functional>
#include <memory>

#include "schedule/frametimer.h"

namespace qs {

class TTrayAnimation {
 public:
  static constexpr int kFrameMs = 100;
  static constexpr int kFrames = 16;
  static constexpr int kLastCount = 30;  // the tick counter runs 0 to 30: a tick every 31 cycles

  explicit TTrayAnimation(std::unique_ptr<IFrameTimer> timer);

  // Starts from the first frame with the tick counter at 0, so the first tick comes one
  // whole period (49.6 s) after the start.
  void Start();
  void Stop();
  bool Active() const { return active_; }

  // One animation step: OnStep, then the current frame is shown (OnFrameChanged); after the
  // last of the 16 frames the tick counter rises, or at 30 returns to 0 and OnTick runs.
  // Does nothing while the animation is stopped.
  void Step();

  int Frame() const { return frame_; }  // the frame shown last
  int TickCounter() const { return counter_; }
  // The scheduled look while a scheduled run entry is under way, else the normal one.
  bool ScheduledLook() const { return scheduledLook_; }
  void SetScheduledLook(bool scheduled) { scheduledLook_ = scheduled; }

  std::function<void()> OnStep;
  std::function<void(int frame, bool scheduledLook)> OnFrameChanged;
  std::function<void()> OnTick;

 private:
  std::unique_ptr<IFrameTimer> timer_;
  bool active_ = false;
  bool scheduledLook_ = false;
  int next_ = 0;  // the frame the next step shows
  int frame_ = 0;
  int counter_ = 0;
};

}  // namespace qs
