#include "screens/GameListModel.h"

#include "screens/KifuTexts.h"

void GameListModel::SetGames(std::vector<gamelog::LoggedGame> games) {
  beginResetModel();
  games_ = std::move(games);
  results_.assign(games_.size(), QString());
  rows_.resize(games_.size());
  for (std::size_t i = 0; i < games_.size(); ++i) rows_[i] = static_cast<int>(i);
  endResetModel();
}

void GameListModel::SetFilter(std::optional<Opponent> opponent) {
  beginResetModel();
  rows_.clear();
  for (std::size_t i = 0; i < games_.size(); ++i) {
    const gamelog::GameRecord& game = games_[i].game;
    const auto is = [&](const gamelog::Player& p) { return p.kind == opponent->kind && p.name == opponent->name; };
    if (!opponent || is(game.first) || is(game.second)) rows_.push_back(static_cast<int>(i));
  }
  endResetModel();
}

const gamelog::LoggedGame& GameListModel::GameAt(int row) const { return games_[static_cast<std::size_t>(rows_.at(static_cast<std::size_t>(row)))]; }

int GameListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : static_cast<int>(rows_.size()); }

int GameListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant GameListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  const auto at = static_cast<std::size_t>(rows_[static_cast<std::size_t>(index.row())]);
  const gamelog::GameRecord& game = games_[at].game;
  switch (index.column()) {
    case 0: return DateText(game);
    case 1: return PlayerText(game.first);
    case 2: return PlayerText(game.second);
    default:
      if (results_[at].isEmpty()) results_[at] = ResultText(game, games_[at].end);
      return results_[at];
  }
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  static const QString kTitles[] = {QStringLiteral("日時"), QStringLiteral("先行"), QStringLiteral("後攻"),
                                    QStringLiteral("結果")};
  return section >= 0 && section < 4 ? kTitles[section] : QVariant();
}
