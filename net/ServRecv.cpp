#include "net/ServRecv.h"

#include <chrono>

void ReadGate::Hold(int records) { held_.fetch_add(records, std::memory_order_relaxed); }

void ReadGate::Release(int records) {
  // Counted on every record the host's own user handles: no lock unless someone waits.
  if (held_.fetch_sub(records, std::memory_order_relaxed) - records >= limit_ || !waiting_.load()) return;
  std::lock_guard lock(mutex_);
  opened_.notify_all();
}

void ReadGate::WaitOpen(const std::function<bool()>& stopped) {
  if (held_.load(std::memory_order_relaxed) < limit_) return;
  std::unique_lock lock(mutex_);
  waiting_.store(true);
  // Stopping sets a flag and shuts the socket down, neither of which wakes this wait: it looks.
  while (held_.load() >= limit_ && !stopped()) opened_.wait_for(lock, std::chrono::milliseconds(50));
  waiting_.store(false);
}

ServRcvThread::ServRcvThread(sockets::Socket socket, int clientNumber, std::shared_ptr<ReadGate> gate,
                             Handlers handlers)
    : NetWorker(socket, [number = clientNumber, gate = std::move(gate), handlers = std::move(handlers)](
                            Context& context, const auto& socket) {
        sockets::RecordReader reader;
        std::vector<std::uint8_t> batch;
        TNetRecord buffer;
        bool left = false;
        while (!context.Stopped() && !left) {
          gate->WaitOpen([&context] { return context.Stopped(); });
          if (context.Stopped() || reader.Next(socket(), batch) != 0) break;
          // Every record that has arrived goes over in one call, each handled in order.
          context.Hand([&] { handlers.batch([&] {
            for (std::size_t at = 0; at < batch.size() && !context.Stopped(); at += TNetRecord::Size) {
              buffer = TNetRecord::FromBytes(batch.data() + at);
              if (buffer.Kind() != mkLeave) {
                handlers.record(buffer, number);
                continue;
              }
              buffer.SetTextBytes(LeaveNoticeText(buffer.NameBytes()));
              if (handlers.record(buffer, number) != 0) continue;  // not its own leave
              if (!context.Stopped()) handlers.remove(number);
              left = true;  // whatever followed the leave is not read
              return;
            }
          }); });
        }
        if (!left) context.Hand([&] { handlers.lost(number); });
      }) {}
