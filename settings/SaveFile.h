#pragma once
#include "platform/Dialogs.h"
#include "settings/SaveRecord.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

namespace settings {

// The connection dialog as the data file sees it. The dialog implements it over its controls;
// tests drive the codec with a fake.
class SettingsDialogPort {
 public:
  virtual ~SettingsDialogPort() = default;

  // Restoring.
  virtual void SelectNoNetwork() = 0;  // rgNet item 1 ("接続しない"), then rgNetClick
  virtual void UncheckOya() = 0;       // cbOya unchecked, then cbOyaClick
  virtual void SetHostName(const QString& text) = 0;
  virtual void SetPortText(const QString& text) = 0;
  virtual void SetUserName(const QString& text) = 0;
  virtual int CharaCount() const = 0;          // entries of CharaList; 0 when there is none
  virtual QString CharaPath(int index) const = 0;  // full path of CharaList[index]
  virtual void NextChara() = 0;                // btNextClick

  // Encoding.
  virtual bool NetworkSelected() const = 0;  // rgNet item 0 ("接続する") selected
  virtual bool OyaChecked() const = 0;
  virtual QString HostNameText() const = 0;
  virtual QString PortText() const = 0;
  virtual QString UserNameText() const = 0;
};

// A non-negative pseudo-random number per call; the masks are its remainders by 100 and 200.
using MaskRandom = std::function<std::uint32_t()>;
MaskRandom DefaultMaskRandom();

// Fills the dialog from a record read from the file (masked fields still masked), then unmasks
// and checks it: 0 when the checksum holds, -1 after the record has been reset. The dialog keeps
// what was put into it either way.
int RestoreSettings(SaveRecord& record, SettingsDialogPort& dialog);

// Takes the dialog's settings into the record, draws fresh masks and the checksum, and returns
// the file image with the masks applied. The record's masked fields stay plain in memory.
SaveRecord::Image EncodeSettings(SaveRecord& record, const SettingsDialogPort& dialog, const MaskRandom& random);

// Result of a file operation; error is a readable text for the error box when ok is false.
struct FileResult {
  bool ok = true;
  QString error;
};

enum class LoadOutcome {
  Missing,   // no file: record reset, nothing written, dialog untouched
  Restored,  // read and checked
  Tampered,  // checksum failed: message shown, record reset, reset file written
  Unreadable // the file exists but cannot be read: record reset, file left as it is
};

// The six record counters: SouNum, SouWin, SouLose, NetNum, NetWin, NetLose.
using Counters = std::array<std::int32_t, 6>;
Counters CountersOf(const SaveRecord& record);

struct LoadResult {
  LoadOutcome outcome = LoadOutcome::Missing;
  FileResult file;  // failure to read, or to write the reset file after tampering
  Counters read{};  // the counters as this run starts from them
};

// path is ExePath + "velm.dat". First removes what an interrupted save left beside it, once it
// is a minute old (platform::RemoveStaleTemporaries). Shows
// "データが不正に書き換えられているためデータが初期値に戻りました" / "Velmora" through
// dialogs when the check fails.
LoadResult LoadSaveFile(const QString& path, SaveRecord& record, SettingsDialogPort& dialog,
                        const platform::Dialogs& dialogs);

// EncodeSettings, then the file is replaced as a whole (platform::ReplaceFile), so a failed
// write leaves the old file untouched.
FileResult WriteSaveFile(const QString& path, SaveRecord& record, const SettingsDialogPort& dialog,
                         const MaskRandom& random = DefaultMaskRandom());

// WriteSaveFile for a file that other copies of the program may be saving too. Under a lock on
// its folder the file is read again, and what this run added to the six counters since they were
// `read` is added to what the file holds now, so no copy's games are lost; the settings and the
// geometry are this run's, so the copy that saves last wins those. A file that does not pass its
// check now is simply replaced.
FileResult SaveMerged(const QString& path, SaveRecord& record, const SettingsDialogPort& dialog, const Counters& read,
                      const MaskRandom& random = DefaultMaskRandom());

// Writes an image the same way (used for the reset file as well).
FileResult ReplaceFile(const QString& path, const SaveRecord::Image& image);

}  // namespace settings
