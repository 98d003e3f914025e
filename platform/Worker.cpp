#include "platform/Worker.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <mutex>
#include <vector>

#include "platform/MainThreadHandover.h"

namespace platform {
namespace {
// Threads whose owners let go of them before they ended. Each is joined the next time the
// list is looked at after it has ended, and at the latest when the program ends (their bodies
// have been stopped by then and end within their own limits).
class Leftovers {
 public:
  ~Leftovers() {
    std::lock_guard lock(mutex_);
    for (Entry& e : entries_) e.thread.join();
  }
  void Adopt(std::thread thread, std::shared_ptr<Worker::Context> context) {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end();) {
      if (it->context->Ended()) {
        it->thread.join();
        it = entries_.erase(it);
      } else {
        ++it;
      }
    }
    entries_.push_back({std::move(thread), std::move(context)});
  }

 private:
  struct Entry {
    std::thread thread;
    std::shared_ptr<Worker::Context> context;
  };
  std::mutex mutex_;
  std::vector<Entry> entries_;
};
Leftovers& TheLeftovers() {
  static Leftovers leftovers;
  return leftovers;
}
}  // namespace

Worker::Context::~Context() { ::close(stopFd_); }

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

bool Worker::Context::Rest(int ms) const {
  pollfd p{stopFd_, POLLIN, 0};
  ::poll(&p, 1, ms);
  return !Stopped();
}

Worker::Worker(QObject* receiver, Body body) : context_(std::make_shared<Context>()) {
  context_->stopFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  context_->handover_ = std::make_shared<MainThreadHandover>(receiver);
  thread_ = std::thread([context = context_, body = std::move(body)] {
    body(*context);
    context->ended_.store(true);
  });
}

Worker::~Worker() {
  Stop();
  if (Ended()) {
    thread_.join();  // it has returned from its body: nothing left to wait for
  } else {
    TheLeftovers().Adopt(std::move(thread_), context_);
  }
}

void Worker::Stop() {
  if (context_->stopped_.exchange(true)) return;
  context_->handover_->Close();
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(context_->stopFd_, &one, sizeof one);
}

}  // namespace platform
