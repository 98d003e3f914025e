#include "gamelog/GameLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

#include "gamelog/GgfFormat.h"
#include "platform/FileSearch.h"
#include "platform/RegularFile.h"
#include "platform/ReplaceFile.h"

namespace gamelog {

namespace {

constexpr qint64 kLargestGame = 64 * 1024;  // a game with long names is a few hundred bytes
constexpr std::chrono::seconds kStaleAfter{60};

QString Suffix() { return QStringLiteral(".ggf"); }

// A replacement's temporary: "<name>.ggf." and six letters or digits.
bool IsTemporary(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > 0 && name.size() - dot == 7 && name.left(dot).endsWith(Suffix());
}

}  // namespace

GameLog::GameLog(QString folder) : folder_(std::move(folder)) {
  if (!folder_.endsWith(QLatin1Char('/'))) folder_ += QLatin1Char('/');
}

QString GameLog::FolderIn(const QString& dataFolder) { return dataFolder + QStringLiteral("games/"); }

QString GameLog::Save(const GameRecord& game) const {
  QDir().mkpath(folder_);
  const QString stamp = game.started.toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss-"));
  QString path;
  do {
    const quint32 tag = QRandomGenerator::global()->bounded(0x1000000u);
    path = folder_ + stamp + QString::number(tag, 16).rightJustified(6, QLatin1Char('0')) + Suffix();
  } while (QFileInfo::exists(path));
  return platform::ReplaceFile(path, WriteGgf(game));
}

LoadedLog GameLog::Load() const {
  LoadedLog log;
  // Straight from the folder: thousands of games, and each stat of them costs.
  const std::vector<platform::FoundFile> entries = platform::FindFiles(QFile::encodeName(folder_).toStdString(), "*");
  log.games.reserve(entries.size());
  for (const platform::FoundFile& entry : entries) {
    if (entry.isDirectory) continue;
    const QString name = QFile::decodeName(entry.name.c_str());
    if (IsTemporary(name)) {
      platform::RemoveStaleTemporaries(folder_ + name.left(name.size() - 7), kStaleAfter);
      continue;
    }
    const platform::RegularFileRead read = platform::ReadRegularFile(folder_ + name, kLargestGame + 1);
    LoggedGame logged{name, {}, {}};
    std::optional<GameRecord> game;
    if (read.outcome == platform::RegularFileRead::Outcome::Read && read.bytes.size() <= kLargestGame)
      game = ReadGgf(read.bytes, nullptr, &logged.end);
    if (game) {
      logged.game = std::move(*game);
      log.games.push_back(std::move(logged));
    } else {
      log.skipped << name;
    }
  }
  std::sort(log.games.begin(), log.games.end(), [](const LoggedGame& a, const LoggedGame& b) {
    return a.game.started != b.game.started ? a.game.started > b.game.started : a.file > b.file;
  });
  log.skipped.sort();
  return log;
}

}  // namespace gamelog
