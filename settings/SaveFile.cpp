#include "settings/SaveFile.h"

#include "platform/Codec.h"
#include "platform/Dialogs.h"
#include "settings/PortText.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <memory>
#include <random>

namespace settings {
namespace {

const char* const kTamperedText = "データが不正に書き換えられているためデータが初期値に戻りました";
const char* const kTamperedCaption = "Velmora";

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

QString describe(const QString& what, const QString& path, const QString& reason) {
  return QStringLiteral("%1 %2: %3").arg(what, QFileInfo(path).absoluteFilePath(), reason);
}

}  // namespace

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
  QSaveFile file(path);
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly))
    return {false, describe(QStringLiteral("velm.dat を作成できません"), path, file.errorString())};
  const auto size = static_cast<qint64>(image.size());
  if (file.write(reinterpret_cast<const char*>(image.data()), size) != size) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return {false, describe(QStringLiteral("velm.dat に書き込めません"), path, reason)};
  }
  // commit() flushes the new file to disk, then renames it over the old one.
  if (!file.commit())
    return {false, describe(QStringLiteral("velm.dat を置き換えられません"), path, file.errorString())};
  return {};
}

LoadResult LoadSaveFile(const QString& path, SaveRecord& record, SettingsDialogPort& dialog) {
  QFile file(path);
  if (!file.exists()) {
    record.Reset();
    return {LoadOutcome::Missing, {}};
  }
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.read(static_cast<qint64>(SaveRecord::kSize));
  if (!file.isOpen() || file.error() != QFileDevice::NoError) {
    // An unreadable file is left alone: only a good write may replace it.
    record.Reset();
    return {LoadOutcome::Unreadable, {false, describe(QStringLiteral("velm.dat を読み込めません"), path, file.errorString())}};
  }
  file.close();

  record = SaveRecord::FromBytes(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  if (RestoreSettings(record, dialog) == 0) return {LoadOutcome::Restored, {}};

  platform::ShowMessage(QString::fromUtf8(kTamperedText), QString::fromUtf8(kTamperedCaption));
  return {LoadOutcome::Tampered, ReplaceFile(path, record.ToImage())};
}

FileResult WriteSaveFile(const QString& path, SaveRecord& record, const SettingsDialogPort& dialog,
                         const MaskRandom& random) {
  return ReplaceFile(path, EncodeSettings(record, dialog, random));
}

}  // namespace settings
