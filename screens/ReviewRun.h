#pragma once
#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>

#include "screens/KifuTexts.h"

// The review of one game, made by velmora-review, the program beside velmora that judges every
// move with the strongest engine. It runs in a process of its own like an engine call: the game
// goes to its input, each move's verdict comes back as a line as soon as it is found, and the
// window only handles those lines as they arrive; it never waits. Stopping kills the process.
class ReviewRun : public QObject {
  Q_OBJECT

 public:
  // program: the review program's path.
  explicit ReviewRun(QString program, QObject* parent = nullptr);
  ~ReviewRun() override;

  // Reviews the game in this GGF text; a review still running is stopped first.
  void Start(const QByteArray& game);
  void Stop();
  bool Running() const { return process_ != nullptr; }

 signals:
  void Found(const MoveReview& review);
  // The review ended: every move judged (complete), or it failed or was stopped.
  void Ended(bool complete);

 private:
  void ReadLines();
  void Finish(bool complete);

  QString program_;
  QProcess* process_ = nullptr;
};
