#pragma once
#include <QAbstractTableModel>

#include <optional>
#include <vector>

#include "gamelog/GameLog.h"

// The logged games as the record window lists them, newest first: date, 先行, 後攻 and result,
// all of them or only those against one opponent. Texts are made for the rows shown, when shown.
class GameListModel : public QAbstractTableModel {
 public:
  struct Opponent {
    PlayerKind kind;
    QString name;
  };

  using QAbstractTableModel::QAbstractTableModel;

  void SetGames(std::vector<gamelog::LoggedGame> games);
  const std::vector<gamelog::LoggedGame>& Games() const { return games_; }
  // Only the games one of whose players is this opponent; nothing: every game.
  void SetFilter(std::optional<Opponent> opponent);
  const gamelog::LoggedGame& GameAt(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<gamelog::LoggedGame> games_;
  std::vector<int> rows_;             // the games shown, by index into games_
  mutable std::vector<QString> results_;  // made when first shown: a result means a replay
};
