#include "cli/interruptwatch.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace qs {

namespace {
int signalPipe[2] = {-1, -1};

void OnSignal(int signal) {
  const int saved = errno;
  const auto byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t n = write(signalPipe[1], &byte, 1);
  errno = saved;
}
}  // namespace

TInterruptWatch::TInterruptWatch(std::initializer_list<int> watched,
                                 std::function<void(int signal)> onSignal)
    : onSignal_(std::move(onSignal)) {
  if (signalPipe[0] >= 0 || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    unsigned char byte = 0;
    while (read(signalPipe[0], &byte, 1) == 1)
      if (onSignal_) onSignal_(byte);
  });
  for (int s : watched) {
    struct ::sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    struct ::sigaction old {};
    if (sigaction(s, &action, &old) == 0) previous_.emplace_back(s, old);
  }
}

TInterruptWatch::~TInterruptWatch() {
  for (auto& [s, old] : previous_) sigaction(s, &old, nullptr);
  if (!notifier_) return;
  notifier_.reset();
  for (int& fd : signalPipe) {
    close(fd);
    fd = -1;
  }
}

}  // namespace qs
