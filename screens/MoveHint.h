#pragma once
#include <QObject>
#include <QString>
#include <string>

#include "enginehost/CpuThread.h"
#include "game/Game.h"
#include "screens/Services.h"

class TIReversi;

// A hint for the side to move: an engine is asked for the move, in the engine runner like any
// engine move, and its cell is marked on the board until a move is made. The window never waits
// for it; any change of the game before the answer makes the answer useless, and it is dropped.
class MoveHint : public QObject, private GameListener {
  Q_OBJECT

 public:
  MoveHint(const Game& game, TIReversi& view, const Services& services, QObject* parent = nullptr);
  ~MoveHint() override;

  void SetEngineRunner(std::string runner) { runner_ = std::move(runner); }
  // Asks the engine at libraryPath (called engineName if it fails) about the position.
  void Ask(const std::string& libraryPath, const QString& engineName);
  bool Asking() const { return static_cast<bool>(engine_); }

 signals:
  void AskingChanged();

 private:
  void Answered(unsigned askedGeneration, const QString& engineName, const EngineAnswer<_Rev>& answer);
  void Drop();

  void Placed(const _Rev&, const std::vector<_Rev>&) override { Drop(); }
  void Restarted() override { Drop(); }
  void Rewound() override { Drop(); }
  void PlayersSet() override { Drop(); }
  void Ended() override { Drop(); }

  const Game& game_;
  TIReversi& view_;
  const Services& services_;
  std::string runner_;
  EngineMove engine_;
};
