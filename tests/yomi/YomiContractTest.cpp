// Yomi's three built libraries from outside, called the way the program calls an engine:
// loaded by path, zero-filled buffers with slack after them, a private copy of the board.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "contract/EngineContract.h"
#include "platform/DynamicLibrary.h"
#include "tests/yomi/RandomGames.h"

namespace {

// Weakest first, as the match menu must list them after Tekum.
const std::vector<std::string> kLadder = {"Tsubomi", "Urara", "Yozakura"};

constexpr std::size_t kSlack = 64;
constexpr unsigned char kCanary = 0xA5;

std::string FolderPath(const std::string& folder) {
  const char* dir = std::getenv("VELM_BIN_DIR");
  return std::string(dir ? dir : VELM_BIN_DIR_DEFAULT) + "/DllCpu/" + folder + "/";
}

// A caller-owned buffer: size zeroed bytes for the engine, then slack it must leave alone.
template <std::size_t Size>
struct Guarded {
  Guarded() { std::fill(std::begin(slack), std::end(slack), kCanary); }
  bool SlackUntouched() const {
    return std::all_of(std::begin(slack), std::end(slack), [](unsigned char b) { return b == kCanary; });
  }
  unsigned char bytes[Size] = {};
  unsigned char slack[kSlack];
};

struct Engine {
  explicit Engine(const std::string& folder)
      : library(FolderPath(folder) + VELM_ENGINE_FILE_NAME),
        tekuming(reinterpret_cast<TekumingProc>(library.Symbol(VELM_ENGINE_MOVE_EXPORT))),
        getStatus(reinterpret_cast<GetStatusProc>(library.Symbol(VELM_ENGINE_STATUS_EXPORT))) {}
  platform::DynamicLibrary library;
  TekumingProc tekuming;
  GetStatusProc getStatus;
};

// The board the engine is handed: side's stones keep their value, the opponent's become
// `opponentValue`, which the contract lets be any non-zero value.
struct HandedBoard {
  HandedBoard(const BoardModel& board, std::int32_t side, std::int32_t opponentValue) {
    for (int x = 0; x < board.FCols; ++x) {
      std::vector<std::int32_t> column;
      for (int y = 0; y < board.FRows; ++y) {
        const std::int32_t cell = board.Cell(x, y);
        column.push_back(cell == 0 || cell == side ? cell : opponentValue);
      }
      cells.push_back(column);
    }
    for (auto& column : cells) columns.push_back(column.data());
  }
  std::vector<std::vector<std::int32_t>> cells;
  std::vector<std::int32_t*> columns;
};

// The placed stone and every stone the move turns, on the program's own board model.
int Gain(const BoardModel& board, const _Rev& move) {
  BoardModel after(board);
  after.KomaGaeshi(move);
  int changed = 0;
  for (int x = 0; x < board.FCols; ++x)
    for (int y = 0; y < board.FRows; ++y) changed += after.Cell(x, y) != board.Cell(x, y);
  return changed;
}

// Positions of every stage of the game on the 8 x 8 board, and some on other shapes, each with
// the side to move holding a legal move.
std::vector<TestPosition> Positions() {
  std::mt19937 rng(7);
  std::vector<TestPosition> positions;
  for (int i = 0; i < 1500; ++i) positions.push_back(RandomPosition(rng, 1 + i % 59));
  for (int i = 0; i < 150; ++i) {
    const int cols = 3 + i % 8;
    const int rows = 3 + (i / 8) % 7;
    positions.push_back(RandomPosition(rng, 1 + i % (cols * rows - 4), cols, rows));
  }
  return positions;
}

}  // namespace

TEST(YomiLibraries, ComeAfterTekumWeakestFirstEachWithItsNameAndPicture) {
  std::vector<std::string> listed = {"Tekum"};
  listed.insert(listed.end(), kLadder.begin(), kLadder.end());
  std::vector<std::string> sorted = listed;
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
  });
  EXPECT_EQ(sorted, listed) << "the match menu orders engines by folder name, without regard to case";

  std::vector<std::string> names;
  for (const std::string& folder : kLadder) {
    const Engine engine(folder);
    ASSERT_TRUE(engine.library.IsLoaded()) << folder;
    ASSERT_NE(engine.getStatus, nullptr) << folder;
    Guarded<VELM_ENGINE_NAME_SIZE> name;
    Guarded<VELM_ENGINE_BITMAP_SIZE> bitmap;
    EXPECT_EQ(engine.getStatus(reinterpret_cast<char*>(name.bytes), reinterpret_cast<char*>(bitmap.bytes)), 0);
    EXPECT_TRUE(name.SlackUntouched() && bitmap.SlackUntouched()) << folder;
    const auto nameLength = std::strlen(reinterpret_cast<const char*>(name.bytes));
    EXPECT_GT(nameLength, 0u) << folder;
    EXPECT_LE(nameLength, 20u) << folder;
    names.emplace_back(reinterpret_cast<const char*>(name.bytes));

    const QString picture = QString::fromStdString(FolderPath(folder)) + reinterpret_cast<const char*>(bitmap.bytes);
    EXPECT_TRUE(QFileInfo(picture).isFile()) << picture.toStdString();
    EXPECT_FALSE(QImage(picture).isNull()) << picture.toStdString();
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::unique(names.begin(), names.end()), names.end()) << "each character has a name of its own";
}

TEST(YomiLibraries, EveryLevelAnswersALegalMoveAndWritesNothingElse) {
  // Budgets cut to a few ten-thousandths: thousands of moves of the shipped libraries in seconds.
  ASSERT_EQ(setenv("YOMI_TIME_SCALE", "0.0002", 1), 0);
  const std::vector<TestPosition> positions = Positions();
  for (const std::string& folder : kLadder) {
    const Engine engine(folder);
    ASSERT_NE(engine.tekuming, nullptr) << folder;
    for (std::size_t i = 0; i < positions.size(); ++i) {
      const TestPosition& at = positions[i];
      HandedBoard handed(at.board, at.side, i % 5 == 0 ? 7 : 3 - at.side);
      const auto before = handed.cells;
      Guarded<VELM_ENGINE_SCRATCH_SIZE> scratch;
      Guarded<sizeof(EngineMove)> move;
      const EngineBoardSize size{at.board.FCols, at.board.FRows};
      EXPECT_EQ(engine.tekuming(&size, handed.columns.data(), at.side, reinterpret_cast<EngineMove*>(move.bytes),
                                scratch.bytes),
                0);

      EngineMove answer;
      std::memcpy(&answer, move.bytes, sizeof answer);
      const _Rev placed{answer.x, answer.y, at.side};
      ASSERT_TRUE(at.board.HaichiCheck(placed))
          << folder << " position " << i << ": (" << answer.x << ", " << answer.y << ") is no legal move";
      EXPECT_EQ(answer.value, Gain(at.board, placed)) << folder << " position " << i;
      EXPECT_EQ(handed.cells, before) << folder << " position " << i << ": the board was written";
      EXPECT_TRUE(move.SlackUntouched() && scratch.SlackUntouched()) << folder << " position " << i;
      EXPECT_TRUE(std::all_of(std::begin(scratch.bytes), std::end(scratch.bytes), [](unsigned char b) { return b == 0; }))
          << folder << " position " << i << ": the scratch buffer was written";
    }
  }
  unsetenv("YOMI_TIME_SCALE");
}
