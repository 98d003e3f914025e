#include "net/CliRecv.h"

TNetRecord CliRcvThread::LossNotice() { return ServerNotice(QStringLiteral("サーバーが切断されました")); }

CliRcvThread::CliRcvThread(sockets::Socket socket, Handlers handlers)
    : NetWorker(socket, [handlers = std::move(handlers)](Context& context, const auto& socket) {
        // Takes everything that has arrived in one go: on the host this connection is fed by
        // every other member, and must not fall behind them.
        sockets::RecordReader reader(MaxBatch);
        std::vector<std::uint8_t> batch;
        TNetRecord buffer;
        while (!context.Stopped()) {
          if (reader.Next(socket(), batch) != 0) break;
          // Every record that has arrived goes over in one call, each handled in order; a
          // handler may let the window close the room in between, so the flag is looked at
          // each time.
          context.Hand([&] {
            for (std::size_t at = 0; at < batch.size() && !context.Stopped(); at += TNetRecord::Size) {
              buffer = TNetRecord::FromBytes(batch.data() + at);
              handlers.record(buffer);
            }
          });
        }
        buffer = LossNotice();
        context.Hand([&] {
          handlers.record(buffer);
          if (!context.Stopped()) handlers.lost();
        });
      }) {}
