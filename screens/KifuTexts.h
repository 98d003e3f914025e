#pragma once
#include <QByteArray>
#include <QString>

#include <optional>

#include "gamelog/GameRecord.h"

// What the record window writes: a game's date, its result, a move in the list with its review.

// The result as players read it, from the position the game ended in: 「先行勝ち 40-24」, 「後攻勝ち 20-44」, 「引き分け 32-32」, or
// 「中断 12-9」 for a game left before its end.
QString ResultText(const gamelog::GameRecord& game, const gamelog::Position& end);
// Local time, minutes: "2026-12-08 17:44".
QString DateText(const gamelog::GameRecord& game);
// A player's name as the list shows it, with (エンジン) or (ネット) after the name of one that
// did not play at this machine; 「？」 for a nameless one.
QString PlayerText(const gamelog::Player& player);

// What the review says of one move: values are final disc differences for 先行.
struct MoveReview {
  int number = 0;  // 1 for the first move
  int side = 1;
  QString move;  // "f5" or "pass"
  int value = 0;
  QString best;
  int bestValue = 0;
  bool exact = false;

  // Discs the move gave away against the best, for the side that made it.
  int Loss() const { return side == 1 ? bestValue - value : value - bestValue; }
  bool Blunder() const { return Loss() >= kBlunderDiscs; }
  static constexpr int kBlunderDiscs = 6;
};

// One JSON line of the review program; nothing when the line is not one.
std::optional<MoveReview> ReviewOfLine(const QByteArray& line);

// A row of the move list: 「12　後攻　c4」, and with a review
// 「12　後攻　c4　-4（最善 d3 -2）完全読み」, 悪手 first when it is one.
QString MoveLine(int number, const gamelog::Move& move, const MoveReview* review);
