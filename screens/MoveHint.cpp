#include "screens/MoveHint.h"

#include "board/IReversi.h"
#include "enginehost/EngineFailureMessage.h"
#include "platform/Dialogs.h"

MoveHint::MoveHint(const Game& game, TIReversi& view, const Services& services, QObject* parent)
    : QObject(parent), game_(game), view_(view), services_(services) {
  game_.AddListener(this);
}

MoveHint::~MoveHint() { game_.RemoveListener(this); }

void MoveHint::Ask(const std::string& libraryPath, const QString& engineName) {
  if (game_.Over() || libraryPath.empty()) return;
  const unsigned generation = game_.Generation();
  engine_ = std::make_unique<TCpuThin>(runner_, libraryPath, game_.Snapshot(), services_.engineLimits,
                                       [this, generation, engineName](const EngineAnswer<_Rev>& answer) {
                                         Answered(generation, engineName, answer);
                                       });
  emit AskingChanged();
}

void MoveHint::Drop() {
  if (!engine_) return;
  engine_.reset();
  emit AskingChanged();
}

void MoveHint::Answered(unsigned askedGeneration, const QString& engineName, const EngineAnswer<_Rev>& answer) {
  const bool current = answer.failure != EngineFailure::Cancelled && askedGeneration == game_.Generation();
  const bool playable = answer.value && game_.IsLegal(*answer.value);
  if (current && playable) view_.ShowHint(*answer.value);
  Drop();
  if (!current || playable) return;
  const EngineFailure failure = answer.failure == EngineFailure::None ? EngineFailure::WrongAnswer : answer.failure;
  services_.dialogs.ShowMessage(EngineFailureText(engineName, failure), EngineFailureCaption());
}
