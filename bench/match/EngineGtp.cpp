// An engine library as a GTP player, so match scripts can set it against any GTP program.
//
//   engine_gtp [path/to/TEKUM.DLL]
//
// Reads GTP commands on stdin and answers on stdout. Knows boardsize 8, clear_board, play,
// genmove, final_score, showboard, name, protocol_version, quit, and legal_moves <colour>
// (the referee's question: every legal vertex, space-separated). Black is side 1 and moves
// first; vertices are a1..h8, column letter then row number from the top. Without a library
// it only keeps the board, as the referee. Each genmove loads the library, makes one call
// with zero-filled buffers and frees it, as the program does.
#include <array>
#include <cctype>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "game/BoardModel.h"
#include "contract/EngineContract.h"
#include "platform/DynamicLibrary.h"

namespace {

std::string Vertex(int x, int y) { return std::string(1, static_cast<char>('a' + x)) + std::to_string(y + 1); }

bool ParseVertex(std::string text, int& x, int& y) {
  if (text.size() < 2) return false;
  x = std::tolower(static_cast<unsigned char>(text[0])) - 'a';
  y = std::atoi(text.c_str() + 1) - 1;
  return x >= 0 && x < 8 && y >= 0 && y < 8;
}

int Side(const std::string& colour) {
  const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(colour.empty() ? '?' : colour[0])));
  return c == 'b' ? 1 : c == 'w' ? 2 : 0;
}

class Player {
 public:
  explicit Player(std::string library) : library_(std::move(library)) { Reset(); }

  void Reset() {
    board_ = BoardModel();
    board_.DefaultSetKoma();
  }

  std::vector<_Rev> Legal(int side) const {
    std::vector<_Rev> moves;
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y)
        if (board_.HaichiCheck(_Rev{x, y, side})) moves.push_back(_Rev{x, y, side});
    return moves;
  }

  bool Play(const _Rev& move) {
    if (!board_.HaichiCheck(move)) return false;
    board_.KomaGaeshi(move);
    return true;
  }

  // The library's answer, applied; "pass" without a legal move, an error for a bad answer.
  std::string GenMove(int side, std::string& error) {
    if (Legal(side).empty()) return "pass";
    platform::DynamicLibrary library(library_);
    auto tekuming = reinterpret_cast<TekumingProc>(library.Symbol(VELM_ENGINE_MOVE_EXPORT));
    if (!tekuming) {
      error = "cannot load " + library_;
      return "";
    }
    std::array<std::array<std::int32_t, 8>, 8> cells{};
    std::array<std::int32_t*, 8> columns{};
    for (int x = 0; x < 8; ++x) {
      for (int y = 0; y < 8; ++y) cells[x][y] = board_.Cell(x, y);
      columns[x] = cells[x].data();
    }
    std::array<unsigned char, VELM_ENGINE_SCRATCH_SIZE> scratch{};
    EngineMove move{};
    const EngineBoardSize size{8, 8};
    tekuming(&size, columns.data(), side, &move, scratch.data());
    if (!Play(_Rev{move.x, move.y, side})) {
      error = "illegal move from the engine: " + std::to_string(move.x) + "," + std::to_string(move.y);
      return "";
    }
    return Vertex(move.x, move.y);
  }

  std::string Score() const {
    int lead = 0;
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 8; ++y) lead += board_.Cell(x, y) == 1 ? 1 : board_.Cell(x, y) == 2 ? -1 : 0;
    return lead > 0 ? "B+" + std::to_string(lead) : lead < 0 ? "W+" + std::to_string(-lead) : "0";
  }

  std::string Show() const {
    std::string text = "\n  a b c d e f g h\n";
    for (int y = 0; y < 8; ++y) {
      text += std::to_string(y + 1) + " ";
      for (int x = 0; x < 8; ++x) text += std::string(1, ".XO"[board_.Cell(x, y)]) + " ";
      text += "\n";
    }
    return text;
  }

 private:
  std::string library_;
  BoardModel board_;
};

}  // namespace

int main(int argc, char** argv) {
  Player player(argc > 1 ? argv[1] : "");
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream words(line);
    std::string command, colour, where;
    words >> command >> colour >> where;
    std::string answer, error;
    if (command == "quit") {
      std::cout << "=\n\n" << std::flush;
      break;
    } else if (command == "protocol_version") {
      answer = "2";
    } else if (command == "name") {
      answer = "engine_gtp";
    } else if (command == "boardsize") {
      if (colour != "8") error = "only 8";
    } else if (command == "clear_board") {
      player.Reset();
    } else if (command == "play") {
      int x = 0, y = 0;
      const bool pass = where == "pass" || where == "PASS";
      if (!Side(colour) || (!pass && (!ParseVertex(where, x, y) || !player.Play(_Rev{x, y, Side(colour)}))))
        error = "illegal move";
    } else if (command == "genmove") {
      if (!Side(colour))
        error = "no such colour";
      else
        answer = player.GenMove(Side(colour), error);
    } else if (command == "legal_moves") {
      for (const _Rev& move : player.Legal(Side(colour))) answer += (answer.empty() ? "" : " ") + Vertex(move.x, move.y);
    } else if (command == "final_score") {
      answer = player.Score();
    } else if (command == "showboard") {
      answer = player.Show();
    } else {
      error = "unknown command";
    }
    std::cout << (error.empty() ? "= " + answer : "? " + error) << "\n\n" << std::flush;
  }
  return 0;
}
