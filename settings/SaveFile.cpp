#include "settings/SaveFile.h"

#include "platform/Codec.h"
#include "platform/Dialogs.h"
#include "platform/FileErrorText.h"
#include "platform/FolderLock.h"
#include "platform/RegularFile.h"
#include "platform/ReplaceFile.h"
#include "settings/PortText.h"

#include <QFileInfo>

#include <chrono>
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
  const QString error = platform::ReplaceFile(path, QByteArrayView(image.data(), static_cast<qsizetype>(image.size())));
  return {error.isEmpty(), error};
}

LoadResult LoadSaveFile(const QString& path, SaveRecord& record, SettingsDialogPort& dialog,
                        const platform::Dialogs& dialogs) {
  using Outcome = platform::RegularFileRead::Outcome;
  platform::RemoveStaleTemporaries(path, platform::kStaleTemporaryAge);
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

  dialogs.ShowMessage(QString::fromUtf8(kTamperedText), QString::fromUtf8(kTamperedCaption));
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
