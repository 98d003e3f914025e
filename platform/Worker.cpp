#include "platform/Worker.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/MainThreadHandover.h"

namespace platform {
namespace {
// A count, not a list: the program's end asks only whether anything still runs.
std::mutex runningMutex;
std::condition_variable runningChanged;
int running = 0;
}  // namespace

Worker::Context::~Context() {
  // The last owner is the window thread (the owner, or the join posted to it), and the body
  // has returned by then: this join waits at most for the thread's own exit.
  if (thread_.joinable()) thread_.join();
  if (stopFd_ >= 0) ::close(stopFd_);
}

bool Worker::Context::Hand(const std::function<void()>& fn) {
  if (Stopped()) return false;
  bool ran = false;
  handover_->Run([&] {
    if (Stopped()) return;
    fn();
    ran = true;
  });
  return ran;
}

bool Worker::Context::Rest(int ms) {
  std::unique_lock lock(mutex_);
  stopping_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return Stopped(); });
  return !Stopped();
}

void Worker::Context::Finish(std::shared_ptr<Context> self) {
  bool released = false;
  {
    std::lock_guard lock(self->mutex_);
    self->ended_ = true;
    released = self->released_;
  }
  // This thread lets go of its context before the count drops. Whoever holds it then (the
  // owner, which joins this thread, or the join posted to the window thread) holds it until
  // this thread has ended; the program's end, which waits for the count, can then never leave
  // this thread holding the last reference, whose release would join the thread from itself.
  if (released) {
    if (QCoreApplication* app = QCoreApplication::instance())
      QMetaObject::invokeMethod(app, [self = std::move(self)] { self->Join(); }, Qt::QueuedConnection);
    else
      new std::shared_ptr<Context>(std::move(self));  // no window thread left to join it: the process is ending
  }
  self.reset();
  std::lock_guard lock(runningMutex);
  --running;
  runningChanged.notify_all();
}

void Worker::Context::Join() {
  if (thread_.joinable()) thread_.join();
}

Worker::Worker(Body body, std::function<void()> wake) : context_(std::make_shared<Context>()), wake_(std::move(wake)) {
  context_->stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  context_->handover_ = std::make_shared<MainThreadHandover>(QCoreApplication::instance());
  {
    std::lock_guard lock(runningMutex);
    ++running;
  }
  context_->thread_ = std::thread([context = context_, body = std::move(body)]() mutable {
    body(*context);
    body = nullptr;  // what it holds goes on this thread, while the worker still counts as running
    Context::Finish(std::move(context));
  });
}

Worker::~Worker() {
  Stop();
  bool ended = false;
  {
    std::lock_guard lock(context_->mutex_);
    context_->released_ = true;
    ended = context_->ended_;
  }
  // Ended: it has returned from its body, nothing left to wait for. Otherwise it posts its own
  // join to the window thread as it ends.
  if (ended) context_->Join();
}

void Worker::Stop() {
  if (context_->stopped_.exchange(true)) return;
  if (context_->stopFd_ >= 0) {
    // A new eventfd's counter cannot be full: this write does not fail.
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(context_->stopFd_, &one, sizeof one);
  }
  context_->handover_->Close();
  {
    std::lock_guard lock(context_->mutex_);
    context_->stopping_.notify_all();
  }
  if (wake_) wake_();
}

bool Worker::Ended() const {
  std::lock_guard lock(context_->mutex_);
  return context_->ended_;
}

int Worker::Running() {
  std::lock_guard lock(runningMutex);
  return running;
}

bool Worker::WaitAllEnded(std::chrono::milliseconds limit) {
  std::unique_lock lock(runningMutex);
  return runningChanged.wait_for(lock, limit, [] { return running == 0; });
}

int Worker::EndProgram(int result, std::chrono::milliseconds limit) {
  if (WaitAllEnded(limit)) return result;
  std::fflush(nullptr);
  std::_Exit(result);
}

}  // namespace platform
