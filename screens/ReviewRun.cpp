#include "screens/ReviewRun.h"

ReviewRun::ReviewRun(QString program, QObject* parent) : QObject(parent), program_(std::move(program)) {}

ReviewRun::~ReviewRun() { Stop(); }

void ReviewRun::Start(const QByteArray& game) {
  Stop();
  process_ = new QProcess(this);
  QProcess* process = process_;
  connect(process, &QProcess::readyReadStandardOutput, this, &ReviewRun::ReadLines);
  connect(process, &QProcess::finished, this, [this, process](int exitCode, QProcess::ExitStatus status) {
    if (process != process_) return;
    ReadLines();
    Finish(status == QProcess::NormalExit && exitCode == 0);
  });
  connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
    if (process == process_ && error == QProcess::FailedToStart) Finish(false);
  });
  process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process->start(program_, {QStringLiteral("--stream")});
  process->write(game);
  process->closeWriteChannel();
}

void ReviewRun::Stop() {
  if (!process_) return;
  QProcess* process = process_;
  process_ = nullptr;
  process->disconnect(this);
  // A killed process ends at once; it goes when its end has been seen (not now: this may run
  // inside one of its own signals).
  connect(process, &QProcess::finished, process, &QObject::deleteLater);
  process->kill();
}

void ReviewRun::ReadLines() {
  while (process_ && process_->canReadLine())
    if (const std::optional<MoveReview> review = ReviewOfLine(process_->readLine().trimmed())) emit Found(*review);
}

void ReviewRun::Finish(bool complete) {
  QProcess* process = process_;
  process_ = nullptr;
  if (process) process->deleteLater();
  emit Ended(complete);
}
