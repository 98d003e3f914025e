#include "enginehost/EngineFailureMessage.h"

QString EngineFailureText(const QString& engineName, EngineFailure failure) {
  const QString name = engineName.isEmpty() ? QStringLiteral("Cpu") : engineName;
  switch (failure) {
    case EngineFailure::NotAnEngine: return name + QStringLiteral("を読み込めませんでした");
    case EngineFailure::Crashed: return name + QStringLiteral("が異常終了しました");
    case EngineFailure::TimedOut: return name + QStringLiteral("が時間内に手を返しませんでした");
    case EngineFailure::WrongAnswer: return name + QStringLiteral("が正しい手を返しませんでした");
    case EngineFailure::None:
    case EngineFailure::Cancelled: break;
  }
  return {};
}

QString EngineFailureCaption() { return QStringLiteral("Velmora"); }
