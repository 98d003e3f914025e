#pragma once
#include <QByteArrayView>
#include <QString>

#include <chrono>

namespace platform {

// Replaces a file as a whole: the bytes go into a new file beside it ("<name>.XXXXXX"), which is
// written to the end (a short write on a full disk is a failure), flushed to the disk and then
// renamed over the old one, so a failure at any step leaves the old file as it was. The new
// file keeps the old one's permissions. A symbolic link is written through: its target is
// replaced and the link stays. What an earlier replacement of the same file left behind when
// it was killed midway is removed first (see RemoveStaleTemporaries). QSaveFile is not used: it
// reports success after a short write. Answers the error as the user is told it, empty on
// success.
QString ReplaceFile(const QString& path, QByteArrayView bytes);

// Removes the temporary files of replacements of path that never finished, once they are older
// than olderThan: a younger one may belong to another copy of the program replacing the file at
// this moment.
void RemoveStaleTemporaries(const QString& path, std::chrono::seconds olderThan);

// How old a temporary must be to be another run's leftover rather than a replacement under way.
inline constexpr std::chrono::seconds kStaleTemporaryAge{60};

}  // namespace platform
