#include "net/queuedcall.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <cstdint>
#include <deque>

namespace qs {

namespace {

// The calls waiting for the event loop, in the order they were queued. One posted event
// runs every call queued before it was handled; calls queued meanwhile wait for the next
// one. Posting one event per call costs an allocation and, with the GLib event loop, a
// system call each; a run with many requests under way queues several calls a turn.
struct TCall {
  uint64_t number;
  std::weak_ptr<void> owner;
  std::function<void()> what;
};

struct TCallQueue {
  std::deque<TCall> calls;
  uint64_t next = 0;
  QPointer<QCoreApplication> postedTo;  // the application the pending event was posted to
  bool posted = false;
};

TCallQueue& Queue() {
  static TCallQueue queue;
  return queue;
}

void Post();

void RunQueued() {
  TCallQueue& q = Queue();
  q.posted = false;
  // Only the calls queued before this event; a nested event loop inside one of them may
  // run later ones (and this event's own) first, which are then gone from the front.
  const uint64_t end = q.next;
  while (!q.calls.empty() && q.calls.front().number < end) {
    TCall call = std::move(q.calls.front());
    q.calls.pop_front();
    if (!call.owner.expired()) call.what();
  }
  if (!q.calls.empty()) Post();
}

void Post() {
  TCallQueue& q = Queue();
  QCoreApplication* app = QCoreApplication::instance();
  if (q.posted && q.postedTo == app) return;
  q.posted = true;
  q.postedTo = app;
  QMetaObject::invokeMethod(app, &RunQueued, Qt::QueuedConnection);
}

}  // namespace

void QueueCall(std::weak_ptr<void> owner, std::function<void()> what) {
  TCallQueue& q = Queue();
  q.calls.push_back({q.next++, std::move(owner), std::move(what)});
  Post();
}

}  // namespace qs
