// Fits the pattern weights to self-play results: for each stage, least squares (with a small
// ridge) between the summed weights and the final stone difference, solved by conjugate
// gradients; weights of mirrored situations are tied.
//
//   yomi_train --out FILE.yw [--rounds N] [--min-seen N] RECORDS...
//
// Each stage learns from its own positions and, while they are fewer than kWantedPositions,
// from its neighbours' too. Every 16th position is kept apart to report how well the weights
// predict positions they were not fitted to.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "yomi/Evaluator.h"
#include "yomi/Patterns.h"
#include "yomi/trainer/TrainingRecords.h"
#include "yomi/weights/WeightsFile.h"

namespace {

using yomi::kStageWeights;

constexpr std::size_t kWantedPositions = 400000;
// Ridge: a weight seen n times keeps about n / (n + kRidge) of what the data alone would give
// it, so rarely seen situations stay near zero.
constexpr double kRidge = 5.0;

struct Sample {
  yomi::FeatureIndices features;
  float result;
};

// Each weight's representative: the smaller of its index and its mirrored index. Only
// representatives are fitted; their mirrors copy them.
std::vector<int> Representatives() {
  std::vector<int> representative(kStageWeights);
  for (int i = 0; i < kStageWeights; ++i) representative[i] = i;
  for (std::size_t s = 0; s < yomi::kShapes.size(); ++s) {
    const int offset = yomi::kTableOffsets[s];
    for (int index = 0; index < yomi::Power3(yomi::kShapes[s].cells); ++index)
      representative[offset + index] = offset + std::min(index, yomi::MirroredIndex(static_cast<int>(s), index));
  }
  return representative;
}

double Predict(const std::vector<double>& w, const Sample& s) {
  double sum = 0;
  for (const std::int32_t f : s.features) sum += w[f];
  return sum;
}

double MeanSquaredError(const std::vector<double>& w, const std::vector<Sample>& samples) {
  double sum = 0;
  for (const Sample& s : samples) sum += std::pow(s.result - Predict(w, s), 2);
  return samples.empty() ? 0 : sum / static_cast<double>(samples.size());
}

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += a[i] * b[i];
  return sum;
}

// Conjugate gradients on the least-squares problem with ridge, over the representatives, each
// weight's step scaled by how often it is seen (a diagonal preconditioner: common and rare
// weights then converge alike). Weights are in stones; w starts the search and is returned
// fitted, mirrors filled in.
std::vector<double> Fit(const std::vector<Sample>& train, const std::vector<Sample>& check,
                        const std::vector<int>& representative, std::vector<double> w, int rounds, int minSeen) {
  // The columns of the problem: each feature through its representative.
  std::vector<Sample> tied = train;
  for (Sample& s : tied)
    for (std::int32_t& f : s.features) f = representative[f];
  for (int i = 0; i < kStageWeights; ++i) w[i] = representative[i] == i ? w[i] : 0.0;
  std::vector<double> scale(kStageWeights, kRidge);
  for (const Sample& s : tied)
    for (const std::int32_t f : s.features) scale[f] += 1;
  for (double& v : scale) v = 1.0 / v;

  auto times = [&](const std::vector<double>& v, std::vector<double>& out) {  // out = A v
    for (std::size_t j = 0; j < tied.size(); ++j) out[j] = Predict(v, tied[j]);
  };
  // The normal equations' residual A^T (y - A w) - ridge w, from the data residual.
  auto gradientOf = [&](const std::vector<double>& dataResidual, std::vector<double>& out) {
    std::fill(out.begin(), out.end(), 0.0);
    for (std::size_t j = 0; j < tied.size(); ++j)
      for (const std::int32_t f : tied[j].features) out[f] += dataResidual[j];
    for (int i = 0; i < kStageWeights; ++i) out[i] -= kRidge * w[i];
  };
  std::vector<double> residual(tied.size()), q(tied.size()), gradient(kStageWeights), scaled(kStageWeights);
  times(w, residual);
  for (std::size_t j = 0; j < tied.size(); ++j) residual[j] = tied[j].result - residual[j];
  gradientOf(residual, gradient);
  for (int i = 0; i < kStageWeights; ++i) scaled[i] = scale[i] * gradient[i];
  std::vector<double> direction = scaled;
  double gamma = Dot(gradient, scaled);
  for (int round = 0; round < rounds && gamma > 1e-12; ++round) {
    times(direction, q);
    const double alpha = gamma / (Dot(q, q) + kRidge * Dot(direction, direction));
    for (int i = 0; i < kStageWeights; ++i) w[i] += alpha * direction[i];
    for (std::size_t j = 0; j < q.size(); ++j) residual[j] -= alpha * q[j];
    gradientOf(residual, gradient);
    for (int i = 0; i < kStageWeights; ++i) scaled[i] = scale[i] * gradient[i];
    const double next = Dot(gradient, scaled);
    for (int i = 0; i < kStageWeights; ++i) direction[i] = scaled[i] + next / gamma * direction[i];
    gamma = next;
    if (round % 10 == 9 || round == rounds - 1) {
      std::vector<double> full(kStageWeights);
      for (int i = 0; i < kStageWeights; ++i) full[i] = w[representative[i]];
      std::fprintf(stderr, "  round %3d: fitted %.2f, kept apart %.2f (mean squared stones)\n", round + 1,
                   MeanSquaredError(full, train), MeanSquaredError(full, check));
    }
  }
  // Situations met only a few times get no weight: what they learnt is mostly noise, and
  // zeros keep the packed file small.
  for (int i = 0; i < kStageWeights; ++i) w[i] = 1.0 / scale[representative[i]] - kRidge < minSeen ? 0.0 : w[representative[i]];
  return w;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  int rounds = 60;
  int minSeen = 0;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--out" && i + 1 < argc) out = argv[++i];
    else if (a == "--rounds" && i + 1 < argc) rounds = std::atoi(argv[++i]);
    else if (a == "--min-seen" && i + 1 < argc) minSeen = std::atoi(argv[++i]);
    else inputs.push_back(a);
  }
  if (out.empty() || inputs.empty() || rounds <= 0) {
    std::fprintf(stderr, "usage: yomi_train --out FILE.yw [--rounds N] [--min-seen N] RECORDS...\n");
    return 2;
  }

  std::vector<std::vector<yomi::TrainingRecord>> byStage(yomi::kStageCount);
  for (const std::string& input : inputs)
    for (const yomi::TrainingRecord& r : yomi::ReadRecords(input)) byStage[yomi::StageOf(r.position.Empties())].push_back(r);

  const std::vector<int> representative = Representatives();
  std::vector<std::int16_t> packed(yomi::kTotalWeights, 0);
  std::vector<double> previous(kStageWeights, 0.0);
  // From the end backwards: the late stages have the surest results, and each stage starts
  // from the weights of the one after it.
  for (int stage = yomi::kStageCount - 1; stage >= 0; --stage) {
    std::vector<Sample> train, check;
    std::size_t counter = 0;
    for (int reach = 0; reach < yomi::kStageCount && train.size() + check.size() < kWantedPositions; ++reach)
      for (const int s : {stage - reach, stage + reach}) {
        if (s < 0 || s >= yomi::kStageCount || (reach > 0 && s == stage)) continue;
        for (const yomi::TrainingRecord& r : byStage[s]) {
          Sample sample{yomi::ReadFeatures(r.position), static_cast<float>(r.result)};
          (++counter % 16 == 0 ? check : train).push_back(sample);
        }
        if (reach == 0) break;
      }
    std::fprintf(stderr, "stage %d: %zu positions (%zu of its own)\n", stage, train.size() + check.size(),
                 byStage[stage].size());
    previous = Fit(train, check, representative, previous, rounds, minSeen);
    for (int i = 0; i < kStageWeights; ++i)
      packed[static_cast<std::size_t>(stage) * kStageWeights + i] = static_cast<std::int16_t>(
          std::clamp(std::lround(previous[i] * yomi::kStoneValue), -32767L, 32767L));
  }
  if (!yomi::WriteFileBytes(out.c_str(), yomi::PackWeights(packed))) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
