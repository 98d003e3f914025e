#include "settings/SaveFile.h"

#include "platform/Codec.h"
#include "platform/Dialogs.h"
#include "platform/FileErrorText.h"
#include "platform/FolderLock.h"
#include "platform/RegularFile.h"
#include "settings/PortText.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <random>

namespace settings {
namespace {

const char* const kTamperedText = "データが不正に書き換えられているためデータが初期値に戻りました";
const char* const kTamperedCaption = "Velmora";

constexpr std::array<std::int32_t SaveRecord::*, 6> kCounters = {&SaveRecord::SouNum, &SaveRecord::SouWin,
                                                                  &SaveRecord::SouLose, &SaveRecord::NetNum,
                                                                  &SaveRecord::NetWin, &SaveRecord::NetLose};

// The counters the file holds now, when what it holds passes its check.
std::optional<Counters> countersInFile(const QString& path) {
  const platform::RegularFileRead file = platform::ReadRegularFile(path, static_cast<qint64>(SaveRecord::kSize));
  if (file.outcome != platform::RegularFileRead::Outcome::Read) return std::nullopt;
  SaveRecord now = SaveRecord::FromBytes(file.bytes.constData(), static_cast<std::size_t>(file.bytes.size()));
  RemoveMasks(now);
  if (ComputeChecksum(now) != now.Checksum) return std::nullopt;
  return CountersOf(now);
}

void selectSavedChara(const SaveRecord& record, SettingsDialogPort& dialog) {
  if (record.CharaFile[0] == 0) return;
  const QByteArray wanted(record.CharaFile.data(),
                          static_cast<qsizetype>(qstrnlen(record.CharaFile.data(), record.CharaFile.size())));
  // Stops on the first path that holds the name, or runs on to the last entry.
  for (int i = 0; i < dialog.CharaCount() - 1; ++i) {
    if (platform::ToCp932(dialog.CharaPath(i)).contains(wanted)) return;
    dialog.NextChara();
  }
}

FileResult failure(platform::FileFailure what, const QString& path, int err) {
  return {false, platform::FileErrorText(what, path, err)};
}

// 0, or the errno of the write that failed (a short write counts as a failure).
int writeAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

// Makes the rename itself durable; a failure here leaves a complete file either way.
void syncFolder(const QByteArray& target) {
  const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

Counters CountersOf(const SaveRecord& record) {
  Counters counters{};
  for (std::size_t i = 0; i < kCounters.size(); ++i) counters[i] = record.*kCounters[i];
  return counters;
}

MaskRandom DefaultMaskRandom() {
  auto engine = std::make_shared<std::mt19937>(std::random_device{}());
  return [engine] { return static_cast<std::uint32_t>((*engine)()); };
}

int RestoreSettings(SaveRecord& record, SettingsDialogPort& dialog) {
  if (record.NetConnect == 0) dialog.SelectNoNetwork();
  if (record.Oya == 0) dialog.UncheckOya();
  dialog.SetHostName(TextOf(record.HostName));
  dialog.SetPortText(record.PortNo == 0 ? QString() : QString::number(record.PortNo));
  dialog.SetUserName(TextOf(record.UserName));
  selectSavedChara(record, dialog);

  RemoveMasks(record);
  if (ComputeChecksum(record) == record.Checksum) return 0;
  record.Reset();
  return -1;
}

SaveRecord::Image EncodeSettings(SaveRecord& record, const SettingsDialogPort& dialog, const MaskRandom& random) {
  record.Mask1 = static_cast<std::int32_t>(random() % 100u);
  record.Mask2 = static_cast<std::int32_t>(random() % 200u);
  record.NetConnect = dialog.NetworkSelected() ? 1 : 0;
  record.Oya = dialog.OyaChecked() ? 1 : 0;
  SetText(record.HostName, dialog.HostNameText());
  record.PortNo = ParsePortText(dialog.PortText()).value_or(0);
  SetText(record.UserName, dialog.UserNameText());
  record.Checksum = ComputeChecksum(record);

  // Masks go on a copy: the record stays plain, so a second write cannot mask twice.
  SaveRecord masked = record;
  ApplyMasks(masked);
  return masked.ToImage();
}

FileResult ReplaceFile(const QString& path, const SaveRecord::Image& image) {
  // QSaveFile is not used: it reports success after a short write on a full disk.
  const QByteArray target = QFile::encodeName(path);
  QByteArray temp = target + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return failure(platform::FileFailure::Save, path, errno);

  struct stat old {};
  const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  int err = ::fchmod(fd, mode) == 0 ? 0 : errno;
  if (!err) err = writeAll(fd, image.data(), image.size());
  if (!err && ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && !err) err = errno;
  if (!err && ::rename(temp.constData(), target.constData()) != 0) err = errno;
  if (err) {
    ::unlink(temp.constData());
    return failure(platform::FileFailure::Save, path, err);
  }
  syncFolder(target);
  return {};
}

void RemoveStaleTemporaries(const QString& path, std::chrono::seconds olderThan) {
  const QFileInfo target(path);
  const QString prefix = target.fileName() + QLatin1Char('.');
  const QDateTime before = QDateTime::currentDateTime().addSecs(-olderThan.count());
  const QFileInfoList entries = target.dir().entryInfoList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden);
  for (const QFileInfo& entry : entries) {
    // mkstemp's six letters and digits after the exact name, nothing else.
    const QString tail = entry.fileName().mid(prefix.size());
    const bool ours = entry.fileName().startsWith(prefix, Qt::CaseSensitive) &&
                      std::all_of(tail.begin(), tail.end(), [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 0x80; });
    if (ours && entry.lastModified() < before) QFile::remove(entry.filePath());
  }
}

LoadResult LoadSaveFile(const QString& path, SaveRecord& record, SettingsDialogPort& dialog) {
  using Outcome = platform::RegularFileRead::Outcome;
  RemoveStaleTemporaries(path);
  const platform::RegularFileRead file = platform::ReadRegularFile(path, static_cast<qint64>(SaveRecord::kSize));
  if (file.outcome == Outcome::Missing) {
    // Also what stands there when it is no plain file: a FIFO or a folder holds no settings.
    record.Reset();
    return {LoadOutcome::Missing, {}};
  }
  if (file.outcome == Outcome::Failed) {
    // An unreadable file is left alone: only a good write may replace it.
    record.Reset();
    return {LoadOutcome::Unreadable, failure(platform::FileFailure::Read, path, file.error)};
  }

  const QByteArray& bytes = file.bytes;
  record = SaveRecord::FromBytes(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  if (RestoreSettings(record, dialog) == 0) return {LoadOutcome::Restored, {}, CountersOf(record)};

  platform::ShowMessage(QString::fromUtf8(kTamperedText), QString::fromUtf8(kTamperedCaption));
  return {LoadOutcome::Tampered, ReplaceFile(path, record.ToImage())};
}

FileResult WriteSaveFile(const QString& path, SaveRecord& record, const SettingsDialogPort& dialog,
                         const MaskRandom& random) {
  return ReplaceFile(path, EncodeSettings(record, dialog, random));
}

FileResult SaveMerged(const QString& path, SaveRecord& record, const SettingsDialogPort& dialog, const Counters& read,
                      const MaskRandom& random) {
  const platform::FolderLock lock(QFileInfo(path).absolutePath());
  if (const std::optional<Counters> now = countersInFile(path)) {
    for (std::size_t i = 0; i < kCounters.size(); ++i) {
      std::int32_t& counter = record.*kCounters[i];
      const std::uint32_t added = static_cast<std::uint32_t>(counter) - static_cast<std::uint32_t>(read[i]);
      counter = static_cast<std::int32_t>(static_cast<std::uint32_t>((*now)[i]) + added);
    }
  }
  return WriteSaveFile(path, record, dialog, random);
}

}  // namespace settings
