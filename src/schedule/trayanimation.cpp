#include "schedule/trayanimation.h"

namespace qs {

TTrayAnimation::TTrayAnimation(std::unique_ptr<IFrameTimer> timer) : timer_(std::move(timer)) {
  if (!timer_) timer_ = std::make_unique<TQtFrameTimer>();
  timer_->OnTimeout = [this] { Step(); };
}

void TTrayAnimation::Start() {
  active_ = true;
  next_ = frame_ = counter_ = 0;
  timer_->Start(kFrameMs);
}

void TTrayAnimation::Stop() {
  active_ = false;
  timer_->Stop();
}

void TTrayAnimation::Step() {
  if (!active_) return;
  if (OnStep) OnStep();
  if (!active_) return;
  frame_ = next_;
  next_ = (next_ + 1) % kFrames;
  if (OnFrameChanged) OnFrameChanged(frame_, scheduledLook_);
  if (frame_ != kFrames - 1) return;
  if (counter_ < kLastCount) {
    ++counter_;
    return;
  }
  counter_ = 0;
  if (OnTick) OnTick();
}

}  // namespace qs
