#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "net/Sockets.h"
#include "platform/Worker.h"

// Every connection's outgoing queue, drained by one writer thread that waits on all of them
// at once with poll. The window thread only appends: a peer that stops reading costs it
// nothing. The writer sends without blocking, keeps each connection's order (pauses
// included), and cuts a connection that takes (next to) no bytes for StallLimitMs while it has
// something due, or whose queue passes QueueLimit: it shuts the socket down, so the
// connection's receive thread sees it end and reports it lost like any other.
//
// One thread rather than one per connection: a relay to fifty members then wakes one thread
// once, not fifty, and the writer sends each member everything queued so far in one call.
// A single record or a small batch to a line with nothing queued is tried at once without
// blocking, so a click does not wait for the writer to be scheduled.
class WireLines;

class WireWriter {
 public:
  using Line = int;
  static constexpr Line NoLine = -1;
  static constexpr int StallLimitMs = 2000;
  static constexpr std::size_t QueueLimit = 16u * 1024u * 1024u;
  static constexpr std::size_t DirectLimit = 256;  // a batch of one record is sent without the writer
  // What a connection must take within StallLimitMs, once it has kept us waiting, to count as
  // a slow reader rather than one that has stopped: 4 KiB/s, far below any real line.
  static constexpr std::size_t MovingReaderBytes = 8 * 1024;

  // Starts the writer; on the window thread. It fails (std::system_error) when the system has
  // no descriptor to wake it with, as opening a room fails then anyway.
  WireWriter();
  // Lines being closed with flushFirst get up to StallLimitMs to go out, on the writer, which
  // nobody waits for; the rest are cut.
  ~WireWriter();
  WireWriter(const WireWriter&) = delete;
  WireWriter& operator=(const WireWriter&) = delete;

  // Starts writing to a socket. The writer keeps a duplicate of its own, so the caller may
  // close its descriptor whenever it likes; the connection ends when both are closed.
  Line Open(sockets::Socket socket);
  // A line that is never cut, however long its reader stops or far it falls behind: the host's
  // own user, without whom there is no room.
  void Trust(Line line);
  // Queues bytes; nothing happens on a line that is closed or has been cut.
  void Send(Line line, const void* data, std::size_t size);
  // A delay in the line's queue: what follows goes out ms after what came before has gone.
  void Pause(Line line, int ms);
  // Stops taking bytes for the line; with flushFirst what is queued still goes out (within
  // the same limits), otherwise it is dropped and the writer's descriptor closed at once.
  void Close(Line line, bool flushFirst);

  // While held, sends are gathered and the writer is woken once, when the last hold ends.
  void Hold() { ++holds_; }
  void Release();

  // Bytes queued and not yet taken by the socket.
  std::size_t Queued(Line line) const;
  // Whether the writer has cut the line (stalled, over the limit, or the socket failed).
  bool Cut(Line line) const;

 private:
  std::shared_ptr<WireLines> lines_;
  int holds_ = 0;  // window thread only
  platform::Worker worker_;
};

// The queues and the writer's loop, shared by the window thread's WireWriter and the writer
// thread, which may still be flushing after the WireWriter has gone.
class WireLines {
 public:
  using Line = WireWriter::Line;
  static constexpr Line NoLine = WireWriter::NoLine;
  static constexpr int StallLimitMs = WireWriter::StallLimitMs;
  static constexpr std::size_t QueueLimit = WireWriter::QueueLimit;
  static constexpr std::size_t DirectLimit = WireWriter::DirectLimit;
  static constexpr std::size_t MovingReaderBytes = WireWriter::MovingReaderBytes;

  explicit WireLines(int wakeFd) : wakeFd_(wakeFd) {}
  ~WireLines();
  WireLines(const WireLines&) = delete;
  WireLines& operator=(const WireLines&) = delete;

  Line Open(sockets::Socket socket);
  void Trust(Line line);
  void Send(Line line, const void* data, std::size_t size, bool held);
  void Pause(Line line, int ms, bool held);
  void Close(Line line, bool flushFirst);
  void SendHeld();
  std::size_t Queued(Line line) const;
  bool Cut(Line line) const;
  // The writer thread's loop; returns once stopped and every line is done.
  void Run();
  void Stop();

 private:
  using Clock = std::chrono::steady_clock;
  // A run of bytes, or a pause (bytes empty, pauseMs > 0) that starts once all before it has gone.
  struct Chunk {
    std::string bytes;
    int pauseMs = 0;
  };
  struct Entry {
    int fd = -1;
    // Shared with the window thread, under mutex_.
    std::deque<Chunk> incoming;
    bool closing = false;
    bool flushFirst = false;
    bool busy = false;  // the writer holds bytes or a pause of this line
    std::atomic<bool> trusted{false};
    std::atomic<std::size_t> queued{0};
    std::atomic<bool> cut{false};
    // The writer's own.
    std::deque<Chunk> outgoing;
    std::size_t offset = 0;  // into outgoing.front().bytes
    Clock::time_point resumeAt{};
    Clock::time_point lastProgress{};
    bool waiting = false;  // had something due at the end of the last round
    std::size_t takenWhileWaiting = 0;  // bytes the socket took since the stall clock started
  };
  using EntryPtr = std::shared_ptr<Entry>;

  void Wake();
  void Append(Entry& e, Chunk chunk);
  // One round for one line: sends what is due; answers whether it waits for the socket.
  bool Advance(Entry& e, Clock::time_point now);
  void CutLine(Entry& e);
  EntryPtr Find(Line line) const;

  mutable std::mutex mutex_;
  std::unordered_map<Line, EntryPtr> lines_;
  Line next_ = 0;
  bool stopping_ = false;
  bool wakePending_ = false;
  int wakeFd_ = -1;
};
