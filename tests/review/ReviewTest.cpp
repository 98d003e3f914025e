#include <gtest/gtest.h>


#include <cstdio>
#include <string>

#include "gamelog/GgfFormat.h"
#include "gamelog/Replay.h"
#include "gamelog/Transcript.h"
#include "review/RecordReview.h"
#include "tests/support/Files.h"

using gamelog::Move;
using gamelog::Replay;

namespace {

// The final difference for the side to move under best play, by plain alpha-beta over the
// program's own rules: slow, and sure.
int BestPlay(const Replay& at, int alpha, int beta) {
  const int side = at.SideToMove();
  bool placed = false;
  Replay next = at;  // a move that is not legal leaves it as it was
  for (int square = 0; square < 64 && alpha < beta; ++square) {
    if (!next.Play(Move{side, square % 8, square / 8})) continue;
    placed = true;
    alpha = std::max(alpha, -BestPlay(next, -beta, -alpha));
    next = at;
  }
  if (placed) return alpha;
  Replay passed = at;
  if (passed.Play(Move::Pass(side))) return -BestPlay(passed, -beta, -alpha);
  const gamelog::Position end = at.Current();  // neither side can place: the game is over
  return end.Count(side) - end.Count(3 - side);
}

int ForBlack(const Replay& at, int moverValue) { return at.SideToMove() == 1 ? moverValue : -moverValue; }

TEST(Review, EndgameValuesAgreeWithAPlainSolver) {
  for (const char* file : {"/../../gamelog/data/two_passes.txt", "/../../gamelog/data/white_wins.txt"}) {
    const auto game = gamelog::ParseTranscript(QString::fromLatin1(ReadFile(VELM_REVIEW_TEST_DATA + QString(file)).trimmed()))
                          .value_or(std::vector<Move>{});
    ASSERT_GT(game.size(), 50u) << file;
    // From 12 empties to the end.
    std::size_t from = 0;
    Replay at(gamelog::Position::Standard());
    while (at.Current().Empties() > 12) at.Play(game[from++]);
    const std::vector<Move> rest(game.begin() + static_cast<std::ptrdiff_t>(from), game.end());
    const auto verdicts = review::AnalyseRecord(at.Current(), rest, {});
    ASSERT_EQ(verdicts.size(), rest.size());

    // Each position's value once, for black: the one before a move is its best value, the one
    // after it the value of the move played.
    std::vector<Replay> positions{at};
    for (const Move& move : rest) {
      positions.push_back(positions.back());
      positions.back().Play(move);
    }
    std::vector<int> values;
    for (const Replay& p : positions) values.push_back(ForBlack(p, BestPlay(p, -65, 65)));
    for (std::size_t i = 0; i < rest.size(); ++i) {
      const review::Verdict& v = verdicts[i];
      EXPECT_TRUE(v.exact);
      EXPECT_EQ(v.bestValue, values[i]) << file << " move " << i + 1;
      EXPECT_EQ(v.value, values[i + 1]) << file << " move " << i + 1;
      if (v.best != review::kPass && v.best != v.move) {
        Replay best = positions[i];
        ASSERT_TRUE(best.Play(Move{v.side, v.best % 8, v.best / 8}));
        EXPECT_EQ(ForBlack(best, BestPlay(best, -65, 65)), v.bestValue);
      }
    }
  }
}

std::string RunShell(const std::string& command, int& status) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  status = pclose(pipe);
  return out;
}

TEST(Review, TheCommandLineProgramPrintsAKnownGameAndRefusesWhatIsNotOne) {
  const std::string program = VELM_REVIEW_PROGRAM;
  const std::string data = VELM_REVIEW_TEST_DATA;
  int status = -1;
  EXPECT_EQ(RunShell(program + " --json " + data + "/endgame.ggf", status), ReadFile(QString::fromStdString(data + "/endgame.json")).toStdString());
  EXPECT_EQ(status, 0);
  const std::string text = RunShell(program + " < " + data + "/endgame.ggf", status);
  EXPECT_NE(text.find("\n  11  2  h8      +0  h8      +0  exact\n"), std::string::npos) << text;

  EXPECT_EQ(RunShell("echo f5d6a1 | " + program + " 2>&1", status), "velmora-review: move 3 (a1) is not a legal move\n");
  EXPECT_EQ(WEXITSTATUS(status), 2);
  RunShell("echo '(;GM[Othello]B[f5]' | " + program + " 2>/dev/null", status);
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
