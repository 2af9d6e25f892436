// Runs a call later from the event loop, once the current event has been handled.
#pragma once

#include <functional>
#include <memory>

namespace qs {

// `what` runs from the event loop unless `owner` has expired by then. The call is posted to
// the application object, never to the owner itself, so the owner may be destroyed inside
// `what` without deleting an object whose event is being handled.
void QueueCall(std::weak_ptr<void> owner, std::function<void()> what);

}  // namespace qs
