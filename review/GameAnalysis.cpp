#include "review/GameAnalysis.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "yomi/Bitboard.h"
#include "yomi/EndgameSolver.h"
#include "yomi/Evaluator.h"
#include "yomi/MidgameSearch.h"
#include "yomi/PatternEvaluator.h"
#include "yomi/SearchClock.h"
#include "yomi/TranspositionTable.h"
#include "yomi/weights/BuiltInWeights.h"

namespace review {

namespace {

using yomi::Position;

constexpr int kTableBits = 20;
constexpr int kWindow = yomi::kHighestValue + 1;  // wider than any value: an exact search

// The position before each move, seen from its mover.
std::vector<Position> PositionsBefore(const GameStart& start, const std::vector<PlayedMove>& moves) {
  std::vector<Position> positions;
  int side = start.sideToMove;
  Position p = side == 1 ? Position{start.black, start.white} : Position{start.white, start.black};
  for (const PlayedMove& move : moves) {
    if (move.side != side) {  // a pass the record left out
      p = p.Pass();
      side = move.side;
    }
    positions.push_back(p);
    p = move.square == kPass ? p.Pass() : p.Play(move.square, yomi::Flips(p.own, p.opp, move.square));
    side = 3 - side;
  }
  return positions;
}

int ForBlack(int side, int moverValue) { return side == 1 ? moverValue : -moverValue; }

int Discs(int value128) { return static_cast<int>(std::lround(static_cast<double>(value128) / yomi::kStoneValue)); }

class Reviewer {
 public:
  explicit Reviewer(const AnalysisOptions& options)
      : options_(options), evaluator_(yomi::BuiltInWeights()), exactTable_(kTableBits), midTable_(kTableBits) {}

  // The exact value for the mover, whoever can move.
  int Exact(const Position& p) {
    yomi::EndgameSolver solver(exactTable_, unlimited_);
    return solver.Solve(p, -65, 65);
  }

  Verdict ExactVerdict(const Position& p, const PlayedMove& played) {
    Verdict v{0, played.side, played.square, 0, kPass, 0, true};
    if (played.square == kPass) {
      v.value = v.bestValue = ForBlack(played.side, Exact(p));
      return v;
    }
    yomi::EndgameSolver solver(exactTable_, unlimited_);
    const auto best = solver.BestMove(p);
    v.best = best->square;
    v.bestValue = ForBlack(played.side, best->value);
    v.value = best->square == played.square
                  ? v.bestValue
                  : ForBlack(played.side, -Exact(p.Play(played.square, yomi::Flips(p.own, p.opp, played.square))));
    return v;
  }

  Verdict EstimatedVerdict(const Position& p, const PlayedMove& played) {
    Verdict v{0, played.side, played.square, 0, kPass, 0, false};
    if (played.square == kPass) {
      v.value = v.bestValue = ForBlack(played.side, Discs(-Estimate(p.Pass()).second));
      return v;
    }
    const auto [depth, moves] = Deepen(p);
    v.best = moves.front().square;
    v.bestValue = ForBlack(played.side, Discs(moves.front().value));
    if (v.best == played.square) {
      v.value = v.bestValue;
    } else {
      // The played move searched as deep, over the whole window.
      yomi::SearchClock clock;
      yomi::MidgameSearch search(evaluator_, midTable_, clock, true);
      const Position next = p.Play(played.square, yomi::Flips(p.own, p.opp, played.square));
      v.value = ForBlack(played.side, Discs(-search.Search(next, depth - 1, -kWindow, kWindow, false)));
    }
    return v;
  }

 private:
  // The moves sorted best first by the deepest search that finished in time, and its depth.
  std::pair<int, std::vector<yomi::RootMove>> Deepen(const Position& p) {
    std::vector<yomi::RootMove> moves = yomi::RootMoves(p);
    yomi::SearchClock clock;
    clock.LimitTo(options_.perPosition * 2);
    yomi::MidgameSearch search(evaluator_, midTable_, clock, true);
    int finished = 0;
    for (int depth = 1; depth <= p.Empties(); ++depth) {
      std::vector<yomi::RootMove> deeper = moves;
      if (!search.SearchRoot(p, depth, false, deeper)) break;
      moves = std::move(deeper);
      finished = depth;
      if (clock.Elapsed() > options_.perPosition / 2) break;
    }
    return {std::max(finished, 1), moves};
  }

  // The mover's estimated value in 1/128 stone, whoever can move.
  std::pair<int, int> Estimate(const Position& p) {
    if (!yomi::LegalMoves(p.own, p.opp)) {
      if (!yomi::LegalMoves(p.opp, p.own)) return {0, p.Difference() * yomi::kStoneValue};
      const auto [depth, value] = Estimate(p.Pass());
      return {depth, -value};
    }
    const auto [depth, moves] = Deepen(p);
    return {depth, moves.front().value};
  }

  AnalysisOptions options_;
  yomi::PatternEvaluator evaluator_;
  yomi::TranspositionTable exactTable_;
  yomi::TranspositionTable midTable_;
  yomi::SearchClock unlimited_;
};

}  // namespace

std::vector<Verdict> AnalyseGame(const GameStart& start, const std::vector<PlayedMove>& moves,
                                 const AnalysisOptions& options, const std::function<bool(const Verdict&)>& found) {
  const std::vector<Position> before = PositionsBefore(start, moves);
  std::vector<std::optional<Verdict>> verdicts(moves.size());
  Reviewer reviewer(options);
  auto judge = [&](std::size_t i, bool exact) {
    Verdict v = exact ? reviewer.ExactVerdict(before[i], moves[i]) : reviewer.EstimatedVerdict(before[i], moves[i]);
    v.number = static_cast<int>(i) + 1;
    verdicts[i] = v;
    return !found || found(v);
  };
  // The end first, last move back: each solve leaves its positions in the table for the one
  // before it, and the exact part is done in a few seconds whatever happens after.
  bool going = true;
  for (std::size_t i = moves.size(); going && i-- > 0;)
    if (before[i].Empties() <= options.exactFrom) going = judge(i, true);
  for (std::size_t i = 0; going && i < moves.size(); ++i)
    if (before[i].Empties() > options.exactFrom) going = judge(i, false);

  std::vector<Verdict> answered;
  for (const auto& v : verdicts)
    if (v) answered.push_back(*v);
  return answered;
}

}  // namespace review
