#include "enginehost/CpuThread.h"

#include <vector>

#include "enginehost/EngineProcess.h"

namespace {
constexpr std::size_t kPathBytes = 511;  // the contract's path buffer, without its closing zero
}

TCpuThin::TCpuThin(std::string runner, std::string path, PositionSnapshot position, EngineTimeLimits limits,
                   Done done)
    : cancel_(std::make_shared<EngineCallCancel>()), done_(std::move(done)) {
  if (path.size() > kPathBytes) path.resize(kPathBytes);
  // The worker holds only its own copies and the cancel, never this object but through the
  // hand-over, which stopping the worker closes.
  worker_ = std::make_unique<platform::Worker>(
      [cancel = cancel_, runner = std::move(runner), path = std::move(path), position = std::move(position),
       limits, self = this](platform::Worker::Context& context) {
        std::vector<const std::int32_t*> columns;
        if (position.rows > 0 && position.cells.size() == static_cast<std::size_t>(position.cols) * position.rows)
          for (std::int32_t x = 0; x < position.cols; ++x) columns.push_back(position.cells.data() + x * position.rows);
        const EngineAnswer<_Rev> answer =
            AskEngineMove(runner, path, position.cols, position.rows, columns.empty() ? nullptr : columns.data(),
                          position.side, cancel.get(), limits.move);
        if (cancel->Cancelled()) return;
        context.Hand([self, &answer] { self->Deliver(answer); });
      },
      [cancel = cancel_] { cancel->Cancel(); });
}

TCpuThin::~TCpuThin() { Cancel(); }

void TCpuThin::Cancel() {
  thinking_ = false;
  worker_->Stop();
}

void TCpuThin::Deliver(const EngineAnswer<_Rev>& answer) {
  if (!thinking_) return;
  thinking_ = false;
  // done may release this very object; nothing of it is touched afterwards.
  const Done done = done_;
  if (done) done(answer);
}
