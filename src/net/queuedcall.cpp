#include "net/queuedcall.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace qs {

void QueueCall(std::weak_ptr<void> owner, std::function<void()> what) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [owner = std::move(owner), what = std::move(what)] {
        if (!owner.expired()) what();
      },
      Qt::QueuedConnection);
}

}  // namespace qs
