#pragma once
#include <QString>
#include <QStringList>

#include <vector>

#include "gamelog/GameRecord.h"

namespace gamelog {

struct LoggedGame {
  QString file;  // its file name in the folder
  GameRecord game;
  Position end;  // the position its moves lead to
};

struct LoadedLog {
  std::vector<LoggedGame> games;  // newest first
  QStringList skipped;            // files in the folder that are not games we can read
};

// The folder of logged games: one GGF file per game, written whole beside the others and
// renamed into place, so a save cut off at any moment leaves every earlier game as it was and
// at worst a temporary file, which a later load removes.
class GameLog {
 public:
  explicit GameLog(QString folder);

  // Adds one game; answers the error as the user is told it, empty on success.
  QString Save(const GameRecord& game) const;
  LoadedLog Load() const;
  const QString& Folder() const { return folder_; }

  // The folder beside velm.dat.
  static QString FolderIn(const QString& dataFolder);

 private:
  QString folder_;
};

}  // namespace gamelog
