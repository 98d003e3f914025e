// Training games: random opening moves, then a fixed-depth search until the exact solver takes
// over. Every position after the random opening is written with the game's final result.
//
//   yomi_selfplay --out FILE [--games N] [--seed S] [--weights FILE.yw] [--depth D]
//                 [--solve E] [--random LO HI]
//
// The same arguments always give the same games. Without --weights the plain judgement plays.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "yomi/BasicEvaluator.h"
#include "yomi/EndgameSolver.h"
#include "yomi/MidgameSearch.h"
#include "yomi/PatternEvaluator.h"
#include "yomi/Patterns.h"
#include "yomi/trainer/TrainingRecords.h"
#include "yomi/weights/WeightsFile.h"

namespace {

struct Options {
  std::string out;
  std::string weights;
  int games = 1000;
  std::uint64_t seed = 1;
  int depth = 4;
  int solve = 14;
  int randomLow = 8;
  int randomHigh = 20;
};

bool Parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--out") o.out = next();
    else if (a == "--weights") o.weights = next();
    else if (a == "--games") o.games = std::atoi(next());
    else if (a == "--seed") o.seed = std::strtoull(next(), nullptr, 10);
    else if (a == "--depth") o.depth = std::atoi(next());
    else if (a == "--solve") o.solve = std::atoi(next());
    else if (a == "--random") {
      o.randomLow = std::atoi(next());
      o.randomHigh = std::atoi(next());
    } else return false;
  }
  return !o.out.empty() && o.games > 0 && o.depth > 0 && o.randomLow >= 0 && o.randomHigh >= o.randomLow;
}

class Player {
 public:
  Player(const Options& options, std::unique_ptr<yomi::Evaluator> evaluator)
      : options_(options), evaluator_(std::move(evaluator)), midgameTable_(20), endgameTable_(20) {}

  int Choose(const yomi::Position& p) {
    if (p.Empties() <= options_.solve) {
      yomi::EndgameSolver solver(endgameTable_, clock_);
      return solver.BestMove(p)->square;
    }
    yomi::MidgameSearch search(*evaluator_, midgameTable_, clock_, false);
    std::vector<yomi::RootMove> moves = yomi::RootMoves(p);
    for (int depth = 1; depth <= options_.depth; ++depth) search.SearchRoot(p, depth, false, moves);
    return moves.front().square;
  }

 private:
  const Options& options_;
  std::unique_ptr<yomi::Evaluator> evaluator_;
  yomi::TranspositionTable midgameTable_;
  yomi::TranspositionTable endgameTable_;
  yomi::SearchClock clock_;
};

std::vector<yomi::TrainingRecord> PlayGame(Player& player, std::mt19937_64& rng, const Options& options) {
  struct Seen {
    yomi::Position position;
    bool firstToMove;
  };
  std::vector<Seen> seen;
  yomi::Position p = yomi::StartPosition();
  bool firstToMove = true;
  const int randomPlies = std::uniform_int_distribution<int>(options.randomLow, options.randomHigh)(rng);
  for (int ply = 0;; ++ply) {
    const std::vector<yomi::RootMove> moves = yomi::RootMoves(p);
    if (moves.empty()) {
      if (yomi::RootMoves(p.Pass()).empty()) break;
      p = p.Pass();
      firstToMove = !firstToMove;
      continue;
    }
    int square;
    if (ply < randomPlies) {
      square = moves[std::uniform_int_distribution<std::size_t>(0, moves.size() - 1)(rng)].square;
    } else {
      seen.push_back({p, firstToMove});
      square = player.Choose(p);
    }
    p = p.Play(square, yomi::Flips(p.own, p.opp, square));
    firstToMove = !firstToMove;
  }
  const int firstLead = firstToMove ? p.Difference() : -p.Difference();
  std::vector<yomi::TrainingRecord> records;
  for (const Seen& s : seen)
    records.push_back({s.position, static_cast<std::int8_t>(s.firstToMove ? firstLead : -firstLead)});
  return records;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!Parse(argc, argv, options)) {
    std::fprintf(stderr, "usage: yomi_selfplay --out FILE [--games N] [--seed S] [--weights FILE.yw] [--depth D] "
                         "[--solve E] [--random LO HI]\n");
    return 2;
  }
  std::vector<std::int16_t> weights;
  std::unique_ptr<yomi::Evaluator> evaluator = std::make_unique<yomi::BasicEvaluator>();
  if (!options.weights.empty()) {
    const auto bytes = yomi::ReadFileBytes(options.weights.c_str());
    const auto unpacked = bytes ? yomi::UnpackWeights(*bytes) : std::nullopt;
    if (!unpacked || unpacked->size() != static_cast<std::size_t>(yomi::kTotalWeights)) {
      std::fprintf(stderr, "cannot use %s\n", options.weights.c_str());
      return 1;
    }
    weights = *unpacked;
    evaluator = std::make_unique<yomi::PatternEvaluator>(weights.data());
  }
  Player player(options, std::move(evaluator));
  std::mt19937_64 rng(options.seed);
  long long written = 0;
  for (int game = 0; game < options.games; ++game) {
    const auto records = PlayGame(player, rng, options);
    if (!yomi::AppendRecords(options.out, records)) {
      std::fprintf(stderr, "cannot write %s\n", options.out.c_str());
      return 1;
    }
    written += static_cast<long long>(records.size());
    if ((game + 1) % 1000 == 0) std::fprintf(stderr, "%d games, %lld positions\n", game + 1, written);
  }
  return 0;
}
