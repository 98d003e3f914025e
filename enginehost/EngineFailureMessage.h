#pragma once
// What the user is told when the engine playing a side fails at move time.
#include <QString>

#include "enginehost/EngineCalls.h"

// The box's text, naming the engine ("ルリカが正しい手を返しませんでした"); empty for None and
// Cancelled, which are no failures the user needs to hear of.
QString EngineFailureText(const QString& engineName, EngineFailure failure);

// The box's caption.
QString EngineFailureCaption();
