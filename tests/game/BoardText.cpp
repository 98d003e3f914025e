#include "tests/game/BoardText.h"

#include <fstream>
#include <sstream>

void LoadBoard(BoardModel& model, const BoardPicture& rows) {
  const int height = static_cast<int>(rows.size());
  const int width = height ? static_cast<int>(rows.front().size()) : 0;
  model.ResizeBoard(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      if (c != '.') model.SetKoma(_Rev{x, y, c - '0'});
    }
}

BoardPicture BoardRows(const BoardModel& model) {
  BoardPicture rows(static_cast<std::size_t>(model.FRows), std::string(static_cast<std::size_t>(model.FCols), '.'));
  for (int x = 0; x < model.FCols; ++x)
    for (int y = 0; y < model.FRows; ++y) {
      const int v = model.FBan[x][y];
      if (v != 0) rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = static_cast<char>('0' + v);
    }
  return rows;
}

void LoadGame(Game& game, const BoardPicture& rows, int turn) {
  BoardModel position;
  LoadBoard(position, rows);
  game.StartFrom(position, turn);
}

std::vector<_Rev> CellsOf(const std::string& text) {
  std::vector<_Rev> cells;
  std::istringstream words(text);
  for (std::string word; words >> word;)
    if (word.size() >= 2) cells.push_back(_Rev{word[0] - 'a', std::stoi(word.substr(1)) - 1, 0});
  return cells;
}

std::vector<_Rev> RecordedGame(const std::string& name) {
  std::ifstream file(VELM_GAMES_FILE);
  for (std::string line; std::getline(file, line);)
    if (line.rfind(name + ":", 0) == 0) return CellsOf(line.substr(name.size() + 1));
  return {};
}

int PlayCells(Game& game, const std::vector<_Rev>& cells, int count) {
  const int limit = count < 0 ? static_cast<int>(cells.size()) : std::min(count, static_cast<int>(cells.size()));
  for (int i = 0; i < limit; ++i) {
    const _Rev move{cells[static_cast<std::size_t>(i)].x, cells[static_cast<std::size_t>(i)].y, game.Turn()};
    if (game.Play(move).outcome != PlayOutcome::Played) return i;
  }
  return limit;
}
