#include "tests/board/BoardText.h"

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
