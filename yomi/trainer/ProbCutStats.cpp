// Measures how far a shallow search's value strays from a deeper one, for the cut-offs in
// MidgameSearch (the table kShallowError there comes from this tool's output).
//
//   yomi_probcut_stats --weights FILE.yw [--positions N] [--depth D] [--seed S] RECORDS...
//
// Positions with 20 to 50 empties are drawn from the records with a fixed seed; each is
// deepened to depth D and the spread (standard deviation, in 1/128 stone) of value(d) minus
// value(ShallowDepth(d)) is printed for every d.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "yomi/MidgameSearch.h"
#include "yomi/PatternEvaluator.h"
#include "yomi/Patterns.h"
#include "yomi/trainer/TrainingRecords.h"
#include "yomi/weights/WeightsFile.h"

int main(int argc, char** argv) {
  std::string weightsPath;
  int positions = 300;
  int deepest = 10;
  std::uint64_t seed = 7;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--weights" && i + 1 < argc) weightsPath = argv[++i];
    else if (a == "--positions" && i + 1 < argc) positions = std::atoi(argv[++i]);
    else if (a == "--depth" && i + 1 < argc) deepest = std::atoi(argv[++i]);
    else if (a == "--seed" && i + 1 < argc) seed = std::strtoull(argv[++i], nullptr, 10);
    else inputs.push_back(a);
  }
  const auto bytes = yomi::ReadFileBytes(weightsPath.c_str());
  const auto weights = bytes ? yomi::UnpackWeights(*bytes) : std::nullopt;
  if (!weights || weights->size() != static_cast<std::size_t>(yomi::kTotalWeights) || inputs.empty()) {
    std::fprintf(stderr, "usage: yomi_probcut_stats --weights FILE.yw [--positions N] [--depth D] RECORDS...\n");
    return 2;
  }
  std::vector<yomi::Position> pool;
  for (const std::string& input : inputs)
    for (const yomi::TrainingRecord& r : yomi::ReadRecords(input))
      if (r.position.Empties() >= 20 && r.position.Empties() <= 50) pool.push_back(r.position);
  if (pool.empty()) return 1;

  const yomi::PatternEvaluator evaluator(weights->data());
  std::mt19937_64 rng(seed);
  std::vector<std::vector<double>> values;  // per position, the value at each depth
  for (int n = 0; n < positions; ++n) {
    const yomi::Position p = pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
    std::vector<yomi::RootMove> moves = yomi::RootMoves(p);
    if (moves.empty()) continue;
    yomi::TranspositionTable table(18);
    yomi::SearchClock clock;
    yomi::MidgameSearch search(evaluator, table, clock, false);
    std::vector<double> byDepth(static_cast<std::size_t>(deepest) + 1, 0.0);
    byDepth[0] = evaluator.Evaluate(p);
    for (int d = 1; d <= deepest; ++d) {
      search.SearchRoot(p, d, false, moves);
      byDepth[static_cast<std::size_t>(d)] = moves.front().value;
    }
    values.push_back(byDepth);
  }
  for (int d = yomi::kProbCutFrom; d <= deepest; ++d) {
    const int shallow = yomi::ShallowDepth(d);
    double sum = 0, squares = 0;
    for (const auto& v : values) {
      const double difference = v[static_cast<std::size_t>(d)] - v[static_cast<std::size_t>(shallow)];
      sum += difference;
      squares += difference * difference;
    }
    const double n = static_cast<double>(values.size());
    const double mean = sum / n;
    std::printf("depth %2d from %d: mean %+.0f, spread %.0f\n", d, shallow, mean, std::sqrt(squares / n - mean * mean));
  }
  return 0;
}
