#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

#include "gamelog/GameRecord.h"

namespace gamelog {

// One game in the Generic Game Format that Othello servers and programs exchange:
//   (;GM[Othello]PC[Velmora]DT[2026.12.08_17:44:00.UTC]PB[...]PW[...]TY[8]RE[+16.000]
//     BO[8 -------- -------- -------- ---O*--- ---*O--- -------- -------- -------- *]B[f5]W[d6]...;)
// B[...]/W[...] are the moves in order, passes written PA. RE is the final disc difference for
// black (先行) and is left out of a game that was left before its end. Properties of our own,
// which other readers pass over: XB/XW the players' kinds (local, engine, net), XE[left] for a
// game left before its end, XT the standard transcript. UTF-8.
QByteArray WriteGgf(const GameRecord& game);

// The first game in the text. Unknown properties are passed over; move values and times after
// a "/" are ignored. Nothing when the text is not a GGF Othello game on an 8 x 8 board or one
// of its moves is not legal; the reason in *why (for the person who reads it, in Japanese).
// The position the moves lead to goes to *end.
std::optional<GameRecord> ReadGgf(QByteArrayView text, QString* why = nullptr, Position* end = nullptr);

}  // namespace gamelog
