#pragma once
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "screens/Session.h"
#include "settings/SaveFile.h"

class Game;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class KeyPreview;
class TImage;
class TRadioGroup;
struct SaveRecord;

// "Netへの接続": the program's main window. It decides how to play, owns the connection
// settings (velm.dat is read when it is shown and written when it is destroyed) and opens the
// game screen. Closing it ends the program.
class TfrmMenu : public QWidget, public settings::SettingsDialogPort {
  Q_OBJECT

 public:
  // exePath is the program folder ending in "/"; record is the one SaveRecord, which outlives
  // this window; game is the one game, whose network flag OK sets; dataPath is DataPath, empty
  // for the program folder.
  // session: the program folder, the game and the services. dataPath: where the user's files
  // are kept; empty for the program folder.
  TfrmMenu(Session& session, SaveRecord& record, const QString& dataPath = QString());
  ~TfrmMenu() override;  // FormDestroy

  TRadioGroup* rgNet = nullptr;
  QCheckBox* cbOya = nullptr;
  QLabel* lbName = nullptr;
  QLineEdit* edHostName = nullptr;
  QPushButton* btUser = nullptr;
  QLabel* lbPortNo = nullptr;
  QLineEdit* edPortNo = nullptr;
  QLabel* lbUserName = nullptr;
  QLineEdit* edUserName = nullptr;
  QLabel* lbChara = nullptr;
  QPushButton* btPrev = nullptr;
  TImage* imChara = nullptr;
  QPushButton* btNext = nullptr;
  QPushButton* btOk = nullptr;
  QPushButton* btCancel = nullptr;

  QString UserName;
  QString ExePath;
  // Where velm.dat and Chat.log are kept and the user's own pictures and engines are found:
  // the program folder, or the user's data folder for an installed program. Ends in "/".
  QString DataPath;
  // The folders searched for pictures and engines, the program's own first.
  QStringList SearchFolders() const;
  // Full paths of the character pictures, in the file system's order; none when empty.
  QStringList CharaList;

  // Runs when the dialog closes: the program ends. The program start sets it to quit the loop.
  std::function<void()> OnProgramEnd;

  void LoadCharaList();
  void ConnectAsOya();
  void ConnectAsGuest();
  void LoadSaveFile();
  void WriteSaveFile();
  void WriteRegistryRecord();

  // The data file's view of the dialog.
  void SelectNoNetwork() override;
  void UncheckOya() override;
  void SetHostName(const QString& text) override;
  void SetPortText(const QString& text) override;
  void SetUserName(const QString& text) override;
  int CharaCount() const override;
  QString CharaPath(int index) const override;
  void NextChara() override;
  bool NetworkSelected() const override;
  bool OyaChecked() const override;
  QString HostNameText() const override;
  QString PortText() const override;
  QString UserNameText() const override;

 public slots:
  void rgNetClick();
  void cbOyaClick();
  void btUserClick();
  void btOkClick();
  void btCancelClick();
  void btNextClick();
  void btPrevClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void FormCreate();
  void FormShow();
  void FormDestroy();
  void FormKeyDown(int key);
  // Every refusal gives the buttons back; "..." only while joining, since a host names no machine.
  void EnableButtons();
  void Refuse(const QString& text, const QString& caption, QWidget* focus);
  // Steps 1 to 4 of both connections: the port, or nothing after a refusal.
  std::optional<std::uint16_t> CheckedPort();
  // The wait cursor while a room is being hosted or joined.
  void ShowConnecting(bool connecting);
  void OpenGameScreen(bool network);

  SaveRecord& record_;
  Game& game_;
  const Services& services_;
  KeyPreview* keyPreview_ = nullptr;
  bool destroyed_ = false;
  bool saveFileLoaded_ = false;
  settings::Counters countersRead_{};  // what velm.dat held at start; this run adds to it
};

extern TfrmMenu* frmMenu;
