// Signals for the commands that run on the event loop until they are stopped: while a watch
// lives, the signals it names (Ctrl-C, a termination request) reach the event loop through a
// pipe and call its handler there, never inside the signal handler.
#pragma once

#include <QSocketNotifier>
#include <csignal>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace qs {

class TInterruptWatch {
 public:
  // One watch at a time. The previous handlers come back when the watch ends.
  TInterruptWatch(std::initializer_list<int> watched, std::function<void(int signal)> onSignal);
  ~TInterruptWatch();
  TInterruptWatch(const TInterruptWatch&) = delete;
  TInterruptWatch& operator=(const TInterruptWatch&) = delete;

  // False when the pipe could not be made; the signals then keep their handlers.
  bool Watching() const { return notifier_ != nullptr; }

 private:
  std::function<void(int)> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::vector<std::pair<int, struct ::sigaction>> previous_;
};

}  // namespace qs
