#include "enginehost/CpuThread.h"

#include <QThreadPool>
#include <vector>

#include "enginehost/EngineProcess.h"
#include "platform/MainThreadHandover.h"

namespace {
constexpr std::size_t kPathBytes = 511;  // the contract's path buffer, without its closing zero
}

TCpuThin::TCpuThin(std::string runner, std::string path, PositionSnapshot position, Done done, QObject* parent)
    : QObject(parent),
      handover_(std::make_shared<MainThreadHandover>(this)),
      cancel_(std::make_shared<EngineCallCancel>()),
      done_(std::move(done)) {
  if (path.size() > kPathBytes) path.resize(kPathBytes);
  // The worker holds only its own copies and the two shared pieces, never this object: it
  // reaches it through the handover alone, which this object closes before it goes.
  QThreadPool::globalInstance()->start([handover = handover_, cancel = cancel_, runner = std::move(runner),
                                        path = std::move(path), position = std::move(position), self = this] {
    std::vector<const std::int32_t*> columns;
    if (position.rows > 0 && position.cells.size() == static_cast<std::size_t>(position.cols) * position.rows)
      for (std::int32_t x = 0; x < position.cols; ++x) columns.push_back(position.cells.data() + x * position.rows);
    const EngineAnswer<_Rev> answer = AskEngineMove(runner, path, position.cols, position.rows,
                                                    columns.empty() ? nullptr : columns.data(), position.side, cancel.get());
    if (cancel->Cancelled()) return;
    handover->Run([self, &answer] { self->Deliver(answer); });
  });
}

TCpuThin::~TCpuThin() { Cancel(); }

void TCpuThin::Cancel() {
  thinking_ = false;
  handover_->Close();
  cancel_->Cancel();
}

void TCpuThin::Deliver(const EngineAnswer<_Rev>& answer) {
  if (!thinking_) return;
  thinking_ = false;
  // done may release this very object; nothing of it is touched afterwards.
  const Done done = done_;
  if (done) done(answer);
}

void DiscardEngineMove::operator()(TCpuThin* move) const {
  if (!move) return;
  move->Cancel();
  move->deleteLater();
}
