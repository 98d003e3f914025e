#include "platform/Synchronize.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace platform {

bool OnMainThread() {
  auto* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

void Synchronize(const std::function<void()>& fn) {
  auto* app = QCoreApplication::instance();
  if (!app || OnMainThread()) {
    fn();
    return;
  }
  QMetaObject::invokeMethod(app, [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}

}  // namespace platform
