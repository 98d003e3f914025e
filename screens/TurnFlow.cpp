#include "screens/TurnFlow.h"

#include <QTimer>
#include <cstring>

#include "board/IReversi.h"
#include "enginehost/EngineFailureMessage.h"
#include "platform/Dialogs.h"

namespace {
constexpr int kEnginePauseMs = 100;
constexpr std::int32_t kLocal = static_cast<std::int32_t>(PlayerKind::Local);

QString SideName(int side) { return side == 1 ? QStringLiteral("青") : QStringLiteral("白"); }
}  // namespace

TurnFlow::TurnFlow(Game& game, TIReversi& view, const Services& services, QObject* parent)
    : QObject(parent), game_(game), view_(view), services_(services) {
  game_.AddListener(this);
  view_.OnMove = [this](const _Rev& move) { BoardMove(move); };
}

TurnFlow::~TurnFlow() {
  game_.RemoveListener(this);
  view_.OnMove = nullptr;
}

void TurnFlow::SetCpuPath(int index, const char* path) {
  if (index < 0 || index > 1) return;
  char* slot = FCpuPath[index];
  std::memset(slot, 0, sizeof FCpuPath[index]);
  if (path) std::strncpy(slot, path, sizeof FCpuPath[index] - 1);
}

void TurnFlow::Restarted() {
  StopEngine();
  awaitingEcho_ = false;
  ++games_;
}

void TurnFlow::BoardMove(const _Rev& r) {
  if (!game_.NetPlay()) {
    MoveStep(r);
    return;
  }
  // Only the side this machine plays, one move on the wire at a time.
  if (game_.Who(r.value) != kLocal || awaitingEcho_) return;
  SendMove(r);
}

void TurnFlow::MoveStep(const _Rev& r) {
  const PlayReport report = game_.Play(r);
  if (report.outcome == PlayOutcome::Played) AfterTurn(report);
}

void TurnFlow::NetGet(const _Rev& r) {
  awaitingEcho_ = false;
  const PlayReport report = game_.Play(r);
  if (report.outcome == PlayOutcome::Illegal && OnIgnoredMove) OnIgnoredMove(r);
  if (report.outcome == PlayOutcome::Played) AfterTurn(report);
}

void TurnFlow::SendMove(const _Rev& r) {
  awaitingEcho_ = true;
  if (OnSendMove) OnSendMove(r);
}

void TurnFlow::GameShori() { AfterTurn(game_.SettleTurn()); }

void TurnFlow::Rewound(const TurnReport& report) { AfterTurn(report); }

void TurnFlow::AfterTurn(const TurnReport& report) {
  const unsigned game = games_;
  for (const int side : report.passes) {
    MessagePass(side);
    if (games_ != game) return;  // a new game came while the box was open
  }
  if (report.ended) {
    EndShori();
    if (games_ != game) return;
  }
  HandOutTurn();
}

void TurnFlow::HandOutTurn() {
  if (game_.Over()) {
    view_.SetInputOpen(false);
    return;
  }
  switch (static_cast<PlayerKind>(game_.Who(game_.Turn()))) {
    case PlayerKind::Local:
      view_.SetInputOpen(true);
      break;
    case PlayerKind::Cpu: {
      view_.SetInputOpen(false);
      // The pause before an engine move is a timer: the window goes on meanwhile. A move, a
      // reset or a new match handled in it makes the request stale, and one engine is asked
      // per position however often the turn is handed out.
      const unsigned generation = game_.Generation();
      QTimer::singleShot(kEnginePauseMs, this, [this, generation] {
        if (generation != game_.Generation() || engineAsked_ == generation || game_.Over()) return;
        if (static_cast<PlayerKind>(game_.Who(game_.Turn())) != PlayerKind::Cpu) return;
        engineAsked_ = generation;
        Tekuming();
      });
      break;
    }
    case PlayerKind::Net:
      view_.SetInputOpen(false);
      break;
    case PlayerKind::None:
      break;
  }
}

void TurnFlow::MessagePass(int side) {
  services_.dialogs.ShowMessage(SideName(side) + QStringLiteral("はパスです"), QStringLiteral("順番"));
}

void TurnFlow::EndShori() {
  view_.SetInputOpen(false);
  if (!game_.HasResult()) return;
  const int kuro = game_.KuroCount();
  const int shiro = game_.ShiroCount();
  if (kuro == shiro) {
    services_.dialogs.ShowMessage(QStringLiteral("引き分けです"), QStringLiteral("結果"));
    return;
  }
  services_.dialogs.ShowMessage(SideName(kuro > shiro ? 1 : 2) + QStringLiteral("の勝ちです\n青：") + QString::number(kuro) +
                            QStringLiteral("\n白：") + QString::number(shiro),
                        QStringLiteral("結果"));
}

void TurnFlow::Tekuming() {
  const int side = game_.Turn();
  const unsigned generation = game_.Generation();
  engine_ = std::make_unique<TCpuThin>(runner_, CpuPath(side - 1), game_.Snapshot(), services_.engineLimits,
                                       [this, generation, side](const EngineAnswer<_Rev>& answer) {
                                         DoThinking(generation, side, answer);
                                       });
  SetThinking(side);
}

void TurnFlow::StopEngine() {
  engine_.reset();
  SetThinking(0);
}

void TurnFlow::SetThinking(int side) {
  if (thinkingSide_ == side) return;
  thinkingSide_ = side;
  emit ThinkingChanged();
}

void TurnFlow::DoThinking(unsigned askedGeneration, int side, const EngineAnswer<_Rev>& answer) {
  engine_.reset();
  SetThinking(0);
  // A reset, a move from elsewhere or a new match may have come between the request and now.
  if (answer.failure == EngineFailure::Cancelled || askedGeneration != game_.Generation()) return;
  if (game_.NetPlay() && awaitingEcho_) return;  // our move is on its way already
  if (!answer.value || !game_.IsLegal(*answer.value)) {
    // An answer off the board, on a taken cell or against the rules is no move. The game is
    // over before the box opens, so nothing handled while it is open finds it still waiting.
    const EngineFailure failure = answer.failure == EngineFailure::None ? EngineFailure::WrongAnswer : answer.failure;
    game_.Abandon();
    services_.dialogs.ShowMessage(EngineFailureText(EngineName ? EngineName(side) : QString(), failure), EngineFailureCaption());
    if (game_.NetPlay() && OnEngineFailed) OnEngineFailed();
    return;
  }
  if (game_.NetPlay()) {
    // The room plays it on every board, this one included, when the host relays it back.
    SendMove(*answer.value);
    return;
  }
  MoveStep(*answer.value);
}
