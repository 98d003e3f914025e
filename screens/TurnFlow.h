#pragma once
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "enginehost/CpuThread.h"
#include "game/Game.h"
#include "screens/Services.h"

class TIReversi;

// The referee of the game on this machine: after every move it shows the pass and result
// boxes and hands the next turn to whoever plays it: the board's input for a Local side, an
// engine for a Cpu side, the room for a Net side. Moves come in from the board's input, the
// engine and the room, and all go through the game's Play. In a network game a move made here
// is only sent; it is played when the room brings it back. Everything runs on the window thread.
//
// The boxes are modal and records are handled while they are open, so every step reads the game
// as it stands rather than as it stood when the box opened.
class TurnFlow : public QObject, private GameListener {
  Q_OBJECT

 public:
  TurnFlow(Game& game, TIReversi& view, const Services& services, QObject* parent = nullptr);
  ~TurnFlow() override;

  // The room: a move this machine wants played in a network game.
  std::function<void(const _Rev& move)> OnSendMove;
  // A move from the room that the rules refuse; it was not played.
  std::function<void(const _Rev& move)> OnIgnoredMove;
  // An engine failed in a network game, after its box: the room should start again.
  std::function<void()> OnEngineFailed;

  // Engines: the runner beside the program, the library of each side (index 0 for side 1) and
  // the name a failure box gives the engine of a side.
  void SetEngineRunner(std::string runner) { runner_ = std::move(runner); }
  void SetCpuPath(int index, const char* path);
  const char* CpuPath(int index) const { return index == 0 || index == 1 ? FCpuPath[index] : ""; }
  std::function<QString(int side)> EngineName;

  // Passes at the position as it stands, then the turn to whoever plays it.
  void GameShori();
  // A move of the side to move made at this machine: the mouse, the keyboard or an engine.
  void MoveStep(const _Rev& r);
  // A move the room relayed: played when the rules allow it.
  void NetGet(const _Rev& r);
  // A move chosen on the board: sent in a network game, played otherwise.
  void BoardMove(const _Rev& r);
  // After moves were taken back or played again.
  void Rewound(const TurnReport& report);
  // An engine thinking is stopped; its move is no longer wanted.
  void StopEngine();

  bool AwaitingEcho() const { return awaitingEcho_; }
  // The side whose engine is thinking, 0 when none is.
  int ThinkingSide() const { return thinkingSide_; }

 signals:
  void ThinkingChanged();

 private:
  void MessagePass(int side);
  void EndShori();
  void Tekuming();
  void SendMove(const _Rev& r);
  void DoThinking(unsigned askedGeneration, int side, const EngineAnswer<_Rev>& answer);
  // The boxes a move or a look at the turn brought, then the turn handed out.
  void AfterTurn(const TurnReport& report);
  // GameShori's second half: whoever plays the side to move gets the turn.
  void HandOutTurn();
  void SetThinking(int side);

  // GameListener: a change made elsewhere makes the engine's coming answer stale.
  void Placed(const _Rev&, const std::vector<_Rev>&) override { StopEngine(); }
  void Restarted() override;
  void Rewound() override { StopEngine(); }
  void PlayersSet() override { StopEngine(); }
  void Ended() override { StopEngine(); }

  Game& game_;
  TIReversi& view_;
  const Services& services_;
  std::string runner_;
  char FCpuPath[2][512] = {};
  EngineMove engine_;
  int thinkingSide_ = 0;
  bool awaitingEcho_ = false;
  unsigned games_ = 0;  // new games so far: a box opened before a new game has nothing more to show
  std::optional<unsigned> engineAsked_;  // the position an engine was last asked about
};
