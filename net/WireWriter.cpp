#include "net/WireWriter.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <vector>

namespace {
int WakeDescriptor() {
  const int fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  // Without it the writer would sleep through every send.
  if (fd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  return fd;
}
}  // namespace

WireWriter::WireWriter()
    : lines_(std::make_shared<WireLines>(WakeDescriptor())),
      worker_([lines = lines_](platform::Worker::Context&) { lines->Run(); }) {}

WireWriter::~WireWriter() { lines_->Stop(); }

WireLines::Line WireWriter::Open(sockets::Socket socket) { return lines_->Open(socket); }
void WireWriter::Trust(Line line) { lines_->Trust(line); }
void WireWriter::Send(Line line, const void* data, std::size_t size) { lines_->Send(line, data, size, holds_ > 0); }
void WireWriter::Pause(Line line, int ms) { lines_->Pause(line, ms, holds_ > 0); }
void WireWriter::Close(Line line, bool flushFirst) { lines_->Close(line, flushFirst); }
std::size_t WireWriter::Queued(Line line) const { return lines_->Queued(line); }
bool WireWriter::Cut(Line line) const { return lines_->Cut(line); }

void WireWriter::Release() {
  if (holds_ == 0 || --holds_ > 0) return;
  lines_->SendHeld();
}

WireLines::~WireLines() { ::close(wakeFd_); }

void WireLines::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  Wake();
}

WireLines::Line WireLines::Open(sockets::Socket socket) {
  const int fd = socket >= 0 ? ::fcntl(socket, F_DUPFD_CLOEXEC, 0) : -1;
  if (fd < 0) return NoLine;
  auto e = std::make_shared<Entry>();
  e->fd = fd;
  std::lock_guard lock(mutex_);
  const Line line = next_++;
  lines_.emplace(line, std::move(e));
  return line;
}

WireLines::EntryPtr WireLines::Find(Line line) const {
  std::lock_guard lock(mutex_);
  const auto it = lines_.find(line);
  return it == lines_.end() || it->second->closing ? nullptr : it->second;
}

void WireLines::Append(Entry& e, Chunk chunk) {
  if (chunk.pauseMs == 0 && !e.incoming.empty() && e.incoming.back().pauseMs == 0) {
    e.incoming.back().bytes.append(chunk.bytes);
    return;
  }
  e.incoming.push_back(std::move(chunk));
}

void WireLines::Send(Line line, const void* data, std::size_t size, bool held) {
  if (size == 0) return;
  {
    std::lock_guard lock(mutex_);
    const auto it = lines_.find(line);
    if (it == lines_.end() || it->second->closing) return;
    Entry& e = *it->second;
    if (e.cut.load()) return;
    if (!held && !e.busy && e.incoming.empty()) {
      const ssize_t n = ::send(e.fd, data, size, MSG_DONTWAIT | MSG_NOSIGNAL);
      if (n == static_cast<ssize_t>(size)) return;
      if (n > 0) {
        data = static_cast<const char*>(data) + n;
        size -= static_cast<std::size_t>(n);
      }
    }
    if (e.queued.load() + size > QueueLimit && !e.trusted.load()) {
      // A peer this far behind is not catching up: cut it rather than keep its backlog.
      e.cut.store(true);
      e.incoming.clear();
    } else {
      e.queued += size;
      Append(e, Chunk{std::string(static_cast<const char*>(data), size), 0});
    }
  }
  if (!held) Wake();
}

void WireLines::Trust(Line line) {
  std::lock_guard lock(mutex_);
  if (const auto it = lines_.find(line); it != lines_.end()) it->second->trusted.store(true);
}

void WireLines::Pause(Line line, int ms, bool held) {
  if (ms <= 0) return;
  {
    std::lock_guard lock(mutex_);
    const auto it = lines_.find(line);
    if (it == lines_.end() || it->second->closing || it->second->cut.load()) return;
    Append(*it->second, Chunk{{}, ms});
  }
  if (!held) Wake();
}

void WireLines::Close(Line line, bool flushFirst) {
  {
    std::lock_guard lock(mutex_);
    const auto it = lines_.find(line);
    if (it == lines_.end()) return;
    it->second->closing = true;
    it->second->flushFirst = flushFirst;
  }
  Wake();
}

void WireLines::SendHeld() {
  bool left = false;
  {
    // A batch of one record (a move, a line of chat) goes out from here to idle lines, as a single
    // record would; a large one is the writer's, which sends it while this thread goes on.
    std::lock_guard lock(mutex_);
    for (auto& [line, entry] : lines_) {
      Entry& e = *entry;
      if (e.incoming.empty()) continue;
      Chunk& c = e.incoming.front();
      if (!e.busy && !e.closing && !e.cut.load() && e.incoming.size() == 1 && c.pauseMs == 0 &&
          c.bytes.size() <= DirectLimit) {
        const ssize_t n = ::send(e.fd, c.bytes.data(), c.bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) {
          e.queued -= static_cast<std::size_t>(n);
          c.bytes.erase(0, static_cast<std::size_t>(n));
        }
        if (c.bytes.empty()) {
          e.incoming.clear();
          continue;
        }
      }
      left = true;
    }
  }
  if (left) Wake();
}

std::size_t WireLines::Queued(Line line) const {
  const EntryPtr e = Find(line);
  return e ? e->queued.load() : 0;
}

bool WireLines::Cut(Line line) const {
  const EntryPtr e = Find(line);
  return e && e->cut.load();
}

void WireLines::Wake() {
  std::lock_guard lock(mutex_);
  if (wakePending_) return;
  const std::uint64_t one = 1;
  // It fails only when the counter is full, and then the writer is awake already.
  wakePending_ = ::write(wakeFd_, &one, sizeof one) == sizeof one;
}

void WireLines::CutLine(Entry& e) {
  // The receive thread on the same connection wakes to a closed stream and reports the loss.
  sockets::Shutdown(e.fd);
  e.cut.store(true);
  e.outgoing.clear();
  e.offset = 0;
  e.queued.store(0);
}

bool WireLines::Advance(Entry& e, Clock::time_point now) {
  while (!e.outgoing.empty()) {
    if (now < e.resumeAt) return false;
    Chunk& c = e.outgoing.front();
    if (c.pauseMs > 0) {
      e.resumeAt = Clock::now() + std::chrono::milliseconds(c.pauseMs);  // from the last byte, not the round
      e.outgoing.pop_front();
      continue;
    }
    const ssize_t n = ::send(e.fd, c.bytes.data() + e.offset, c.bytes.size() - e.offset, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n > 0) {
      e.offset += static_cast<std::size_t>(n);
      e.queued -= static_cast<std::size_t>(n);
      // A peer that does not read still lets its kernel take a little now and then; only a
      // reader that really moves starts the stall clock afresh.
      e.takenWhileWaiting += static_cast<std::size_t>(n);
      if (e.takenWhileWaiting >= MovingReaderBytes) e.waiting = false;
      if (e.offset == c.bytes.size()) {
        e.outgoing.pop_front();
        e.offset = 0;
      }
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // The stall clock runs from the first refusal since the reader last moved.
      if (!e.waiting) {
        e.lastProgress = now;
        e.takenWhileWaiting = 0;
      }
      e.waiting = true;
      return true;
    }
    CutLine(e);
    return false;
  }
  e.waiting = false;
  return false;
}

void WireLines::Run() {
  struct Turn {
    Line line;
    EntryPtr entry;
    bool closing;
    bool flushFirst;
  };
  std::vector<Turn> turns;
  std::vector<pollfd> fds;
  std::vector<Line> finished;
  bool stopping = false;
  Clock::time_point stopBy{};
  for (;;) {
    turns.clear();
    {
      std::lock_guard lock(mutex_);
      wakePending_ = false;
      for (const Line line : finished) lines_.erase(line);
      finished.clear();
      if (stopping_ && !stopping) {
        stopping = true;
        stopBy = Clock::now() + std::chrono::milliseconds(StallLimitMs);
      }
      if (stopping && lines_.empty()) return;
      for (auto& [line, e] : lines_) {
        if (e->cut.load()) e->incoming.clear();
        while (!e->incoming.empty()) {
          e->outgoing.push_back(std::move(e->incoming.front()));
          e->incoming.pop_front();
          e->busy = true;
        }
        turns.push_back({line, e, e->closing, e->flushFirst});
      }
    }

    const auto now = Clock::now();
    fds.assign(1, pollfd{wakeFd_, POLLIN, 0});
    auto wakeAt = Clock::time_point::max();
    for (Turn& t : turns) {
      Entry& e = *t.entry;
      const bool overdue = stopping && now >= stopBy;
      if (t.closing && (!t.flushFirst || e.cut.load() || overdue)) {
        ::close(e.fd);
        finished.push_back(t.line);
        continue;
      }
      if (stopping && (!t.closing || overdue)) {
        ::close(e.fd);
        finished.push_back(t.line);
        continue;
      }
      if (e.cut.load()) {
        if (!e.outgoing.empty() || e.queued.load() > 0) CutLine(e);  // went over the limit
        continue;  // the owner closes it once it has heard of the loss
      }
      const bool waitsForSocket = Advance(e, now);
      if (e.cut.load()) continue;
      if (t.closing && e.outgoing.empty()) {
        ::close(e.fd);
        finished.push_back(t.line);
        continue;
      }
      if (waitsForSocket && e.trusted.load()) {
        fds.push_back(pollfd{e.fd, POLLOUT, 0});
      } else if (waitsForSocket) {
        const auto limit = e.lastProgress + std::chrono::milliseconds(StallLimitMs);
        if (now >= limit) {
          CutLine(e);
          continue;
        }
        fds.push_back(pollfd{e.fd, POLLOUT, 0});
        wakeAt = std::min(wakeAt, limit);
      } else if (!e.outgoing.empty()) {
        wakeAt = std::min(wakeAt, e.resumeAt);
      }
    }
    if (stopping) wakeAt = std::min(wakeAt, stopBy);
    {
      // Lines with nothing left may be written to by the window thread directly again.
      std::lock_guard lock(mutex_);
      for (Turn& t : turns) {
        Entry& e = *t.entry;
        if (e.busy && e.outgoing.empty() && now >= e.resumeAt) e.busy = false;
        else if (e.busy && e.outgoing.empty()) wakeAt = std::min(wakeAt, e.resumeAt);
      }
    }
    if (!finished.empty()) continue;  // let the table forget them before waiting

    int timeoutMs = -1;
    if (wakeAt != Clock::time_point::max()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(wakeAt - Clock::now()).count() + 1;
      timeoutMs = static_cast<int>(std::clamp<long long>(left, 0, 60000));
    }
    if (::poll(fds.data(), fds.size(), timeoutMs) < 0 && errno != EINTR) {
      // No memory for the whole set: wait for a wake-up or the next due time alone, not spin.
      fds.resize(1);
      fds[0].revents = 0;
      if (::poll(fds.data(), 1, timeoutMs < 0 ? 1000 : timeoutMs) < 0) fds[0].revents = 0;
    }
    if (fds[0].revents & POLLIN) {
      std::uint64_t count = 0;
      // Nothing to read (EAGAIN) only when another round took the count already.
      if (::read(wakeFd_, &count, sizeof count) < 0 && errno != EAGAIN) fds[0].revents = 0;
    }
  }
}
