#include "platform/MainThreadHandover.h"

#include <QMetaObject>
#include <QObject>

MainThreadHandover::MainThreadHandover(QObject* receiver)
    : receiver_(receiver), receiverThread_(std::this_thread::get_id()) {}

bool MainThreadHandover::Run(const std::function<void()>& fn) {
  if (std::this_thread::get_id() == receiverThread_) {
    if (!IsOpen()) return false;
    fn();
    return true;
  }
  std::unique_lock lock(mutex_);
  if (closed_) return false;
  const uint64_t ticket = ++posted_;
  // Posted under the lock: Close() takes the same lock, so the receiver is alive while we post,
  // and once it is closed its destructor discards whatever is still queued for it.
  QMetaObject::invokeMethod(
      receiver_, [self = shared_from_this(), ticket, &fn] { self->Deliver(ticket, fn); },
      Qt::QueuedConnection);
  changed_.wait(lock, [&] { return done_ >= ticket || (closed_ && !delivering_); });
  return done_ >= ticket;
}

void MainThreadHandover::Deliver(uint64_t ticket, const std::function<void()>& fn) {
  {
    // Closed means the receiver is going away: the worker has been released and must find
    // nothing done on its behalf; fn belongs to it and may be gone already.
    std::lock_guard lock(mutex_);
    if (closed_) return;
    delivering_ = true;
  }
  fn();
  {
    std::lock_guard lock(mutex_);
    delivering_ = false;
    done_ = ticket;
  }
  changed_.notify_all();
}

void MainThreadHandover::Close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

bool MainThreadHandover::IsOpen() const {
  std::lock_guard lock(mutex_);
  return !closed_;
}
