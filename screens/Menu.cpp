#include "screens/Menu.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "game/Game.h"
#include "lan/TWntDisp.h"
#include "net/Socket.h"
#include "platform/Codec.h"
#include "platform/DesignFonts.h"
#include "platform/Dialogs.h"
#include "platform/FileSearch.h"
#include "screens/ByteLimit.h"
#include "screens/ChildWin.h"
#include "screens/Controls.h"
#include "screens/Help.h"
#include "screens/Image.h"
#include "screens/KeyPreview.h"
#include "screens/RadioGroup.h"
#include "settings/PortText.h"
#include "settings/Preferences.h"
#include "settings/RegistryRecord.h"
#include "settings/SaveRecord.h"

TfrmMenu* frmMenu = nullptr;

namespace {

constexpr int kUserNameBytes = 30;  // the name fields of velm.dat and of the records

QLineEdit* MakeEdit(const QString& hint, QWidget* parent, const QRect& rect) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(rect);
  edit->setToolTip(hint);
  return edit;
}

void SetBoxColour(QLineEdit* edit, const QColor& colour) {
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, colour);
  edit->setPalette(palette);
}

}  // namespace

TfrmMenu::TfrmMenu(Session& session, SaveRecord& record, const QString& dataPath)
    : record_(record), game_(session.game), services_(session.services) {
  ExePath = session.exePath;
  DataPath = dataPath.isEmpty() ? ExePath : dataPath;
  BuildControls();
  FormCreate();
}

TfrmMenu::~TfrmMenu() {
  FormDestroy();
  if (frmMenu == this) frmMenu = nullptr;
}

void TfrmMenu::BuildControls() {
  setWindowTitle(QStringLiteral("Netへの接続"));
  setFont(platform::DesignFont(platform::kPGothic, 12));
  setGeometry(443, 138, 292, 320);
  setFixedSize(292, 320);

  rgNet = new TRadioGroup(QStringLiteral("ネットへの接続"), {QStringLiteral("接続する"), QStringLiteral("接続しない")}, this);
  rgNet->setGeometry(32, 8, 209, 65);
  rgNet->SetItemIndex(0);

  cbOya = new QCheckBox(QStringLiteral("自分が親になる"), this);
  cbOya->setGeometry(21, 80, 177, 17);
  cbOya->setToolTip(QStringLiteral("親になる場合はチェックを入れます"));
  cbOya->setChecked(true);

  lbName = MakeLabel(QStringLiteral("マシン名"), this, QRect(12, 106, 58, 20));
  lbName->setEnabled(false);
  edHostName = MakeEdit(QStringLiteral("LANの場合はマシン名・インターネットの場合はIPアドレスを入力してください"), this,
                        QRect(72, 106, 177, 20));
  edHostName->setEnabled(false);
  SetBoxColour(edHostName, palette().color(QPalette::Button));
  btUser = MakeButton(QStringLiteral("..."), QStringLiteral("LANでつながっているマシン名を表示します"), this,
                      QRect(255, 106, 20, 20));
  btUser->setEnabled(false);
  btUser->setFocusPolicy(Qt::ClickFocus);

  lbPortNo = MakeLabel(QStringLiteral("PortNo."), this, QRect(12, 138, 58, 20));
  lbPortNo->setFont(platform::DesignFont(platform::kGothic, 13));
  edPortNo = MakeEdit(QStringLiteral("接続するPortNoを入力してください"), this, QRect(72, 138, 177, 20));

  lbUserName = MakeLabel(QStringLiteral("ユーザー名"), this, QRect(4, 170, 66, 20));
  lbUserName->setFont(platform::DesignFont(platform::kGothic, 13));
  edUserName = MakeEdit(QStringLiteral("Net上の貴方の名前を入力してください"), this, QRect(72, 170, 177, 20));
  LimitToCp932Bytes(edUserName, kUserNameBytes);

  lbChara = MakeLabel(QStringLiteral("キャラクター選択"), this, QRect(96, 198, 120, 18));
  btPrev = MakeButton(QStringLiteral("←"), QStringLiteral("前のキャラクターを表示します"), this, QRect(72, 216, 32, 32));
  btPrev->setEnabled(false);
  imChara = new TImage(this);
  imChara->setGeometry(120, 216, 32, 32);
  imChara->Transparent = true;
  btNext = MakeButton(QStringLiteral("→"), QStringLiteral("次のキャラクターを表示します"), this, QRect(168, 216, 32, 32));

  btOk = MakeButton(QStringLiteral("Ｏ  Ｋ"), QStringLiteral("この設定でゲームをします"), this, QRect(32, 256, 97, 25));
  btCancel = MakeButton(QStringLiteral("終了"), QStringLiteral("終了します"), this, QRect(152, 256, 97, 25));

  ChainTabOrder({rgNet->Button(0), rgNet->Button(1), cbOya, edHostName, edPortNo, edUserName, btOk, btCancel, btNext, btPrev});

  connect(rgNet, &TRadioGroup::Click, this, &TfrmMenu::rgNetClick);
  connect(cbOya, &QCheckBox::clicked, this, &TfrmMenu::cbOyaClick);
  connect(btUser, &QPushButton::clicked, this, &TfrmMenu::btUserClick);
  connect(btOk, &QPushButton::clicked, this, &TfrmMenu::btOkClick);
  connect(btCancel, &QPushButton::clicked, this, &TfrmMenu::btCancelClick);
  connect(btNext, &QPushButton::clicked, this, &TfrmMenu::btNextClick);
  connect(btPrev, &QPushButton::clicked, this, &TfrmMenu::btPrevClick);

  keyPreview_ = new KeyPreview(this, [this](int key) { FormKeyDown(key); });
}

void TfrmMenu::FormCreate() {
  CharaList.clear();
  WriteRegistryRecord();
  LoadCharaList();
}

void TfrmMenu::WriteRegistryRecord() {
  const QString error = settings::WriteRegistryRecord(services_.registryRoot, QCoreApplication::applicationFilePath());
  if (!error.isEmpty()) services_.dialogs.ShowMessage(error, QStringLiteral("Velmora"));
}

QStringList TfrmMenu::SearchFolders() const {
  return DataPath == ExePath ? QStringList{ExePath} : QStringList{ExePath, DataPath};
}

void TfrmMenu::LoadCharaList() {
  CharaList.clear();
  for (const QString& folder : SearchFolders()) {
    for (const platform::FoundFile& found : platform::FindFiles(folder.toStdString(), "*.bmp")) {
      // A picture that cannot be shown whole is not offered.
      const QString path = folder + QString::fromStdString(found.name);
      if (found.isRegularFile && TImage::PictureOf(path)) CharaList.append(path);
    }
  }
  if (CharaList.size() <= 1) btNext->setEnabled(false);
  if (CharaList.isEmpty()) return;
  imChara->Tag = 0;
  imChara->LoadFromFile(CharaList[0]);
}

void TfrmMenu::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmMenu::FormShow() { LoadSaveFile(); }

void TfrmMenu::LoadSaveFile() {
  const settings::LoadResult result = settings::LoadSaveFile(DataPath + QStringLiteral("velm.dat"), record_, *this, services_.dialogs);
  // A file that is there but could not be read is not overwritten at the end with a fresh record.
  saveFileLoaded_ = result.outcome != settings::LoadOutcome::Unreadable;
  countersRead_ = result.read;
  if (!result.file.ok) services_.dialogs.ShowMessage(result.file.error, QStringLiteral("Velmora"));
  // A first start offers a game at this machine: that OK needs nothing but a name.
  if (result.outcome == settings::LoadOutcome::Missing) SelectNoNetwork();
  // A first start offers the login name, when other machines can be told it.
  const QString login = services_.loginName();
  if (edUserName->text().isEmpty() && platform::FitsCp932(login)) {
    edUserName->setText(platform::LeftWithinCp932(login, kUserNameBytes));
  }
}

void TfrmMenu::WriteSaveFile() {
  // Another copy of the program may have saved its games meanwhile; they are kept.
  const settings::FileResult result =
      settings::SaveMerged(DataPath + QStringLiteral("velm.dat"), record_, *this, countersRead_);
  if (!result.ok) services_.dialogs.ShowMessage(result.error, QStringLiteral("Velmora"));
}

void TfrmMenu::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  // Only a record that was loaded (or found missing) is written back: a start that failed
  // before the dialog was shown must not replace the user's file with an empty record.
  if (saveFileLoaded_) WriteSaveFile();
}

void TfrmMenu::closeEvent(QCloseEvent* event) {
  // A room still being looked for is given up at once, whatever it is waiting on.
  if (frmSocket) frmSocket->CancelStart();
  event->accept();
  if (OnProgramEnd) OnProgramEnd();
}

void TfrmMenu::FormKeyDown(int key) {
  HelpKeyDown(key, kHelpStart, ExePath, services_);
}

void TfrmMenu::rgNetClick() {
  const bool network = rgNet->ItemIndex() == 0;
  for (QWidget* w : {static_cast<QWidget*>(cbOya), static_cast<QWidget*>(lbName), static_cast<QWidget*>(edHostName),
                     static_cast<QWidget*>(btUser), static_cast<QWidget*>(lbPortNo), static_cast<QWidget*>(edPortNo)}) {
    w->setVisible(network);
  }
}

void TfrmMenu::cbOyaClick() {
  const bool host = cbOya->isChecked();
  lbName->setEnabled(!host);
  edHostName->setEnabled(!host);
  btUser->setEnabled(!host);
  // Button face while the box is not used, the usual box colour while it is.
  SetBoxColour(edHostName, palette().color(host ? QPalette::Button : QPalette::Base));
}

void TfrmMenu::btNextClick() {
  if (CharaList.isEmpty()) return;
  imChara->Tag = std::min(imChara->Tag + 1, static_cast<int>(CharaList.size()) - 1);
  if (imChara->Tag >= CharaList.size() - 1) btNext->setEnabled(false);
  if (CharaList.size() > 1) btPrev->setEnabled(true);
  imChara->LoadFromFile(CharaList[imChara->Tag]);
}

void TfrmMenu::btPrevClick() {
  if (CharaList.isEmpty()) return;
  imChara->Tag = std::max(imChara->Tag - 1, 0);
  if (imChara->Tag < 1) btPrev->setEnabled(false);
  if (CharaList.size() > 1) btNext->setEnabled(true);
  imChara->LoadFromFile(CharaList[imChara->Tag]);
}

void TfrmMenu::btUserClick() {
  if (!WNetDisp) return;
  if (WNetDisp->exec() == TWNetDisp::mrChoice) edHostName->setText(WNetDisp->ChosenName);
}

void TfrmMenu::btCancelClick() { close(); }

void TfrmMenu::EnableButtons() {
  btOk->setEnabled(true);
  btCancel->setEnabled(true);
  btUser->setEnabled(!cbOya->isChecked());
}

void TfrmMenu::Refuse(const QString& text, const QString& caption, QWidget* focus) {
  if (!text.isEmpty()) services_.dialogs.ShowMessage(text, caption);
  EnableButtons();
  // A host's machine-name box is disabled and cannot take the focus; the port box is the
  // next thing a host can change.
  if (!focus->isEnabled()) focus = edPortNo;
  focus->setFocus();
}

void TfrmMenu::btOkClick() {
  UserName = edUserName->text();
  if (UserName.isEmpty()) {
    Refuse(QStringLiteral("ユーザー名が入力されていません"), QStringLiteral("ユーザー名"), edUserName);
    return;
  }
  // Other machines and velm.dat know the name only in code page 932.
  if (!platform::FitsCp932(UserName)) {
    Refuse(QStringLiteral("ユーザー名に使えない文字が含まれています"), QStringLiteral("Velmora"), edUserName);
    return;
  }
  const QString chosen = CharaList.isEmpty() ? QString() : QFileInfo(CharaList[imChara->Tag]).fileName();
  settings::SetCharaFile(record_, chosen);

  if (rgNet->ItemIndex() != 0) {
    game_.SetNetPlay(false);
    OpenGameScreen(false);
    return;
  }
  game_.SetNetPlay(true);
  if (cbOya->isChecked()) {
    ConnectAsOya();
  } else {
    ConnectAsGuest();
  }
}

std::optional<std::uint16_t> TfrmMenu::CheckedPort() {
  // "終了" stays: it gives the attempt up at once.
  btOk->setEnabled(false);
  btUser->setEnabled(false);
  const QString portText = edPortNo->text();
  if (portText.isEmpty()) {
    Refuse(QStringLiteral("ポートNoが入力されていません"), QStringLiteral("ポート入力"), edPortNo);
    return std::nullopt;
  }
  const std::optional<std::uint16_t> port = settings::PortFromText(portText);
  if (!port) Refuse(QStringLiteral("ポートNoが正しくありません"), QStringLiteral("ポート入力"), edPortNo);
  return port;
}

void TfrmMenu::ShowConnecting(bool connecting) {
  if (connecting) {
    setCursor(Qt::WaitCursor);
    btCancel->setCursor(Qt::ArrowCursor);  // the one thing still to press
  } else {
    unsetCursor();
  }
}

void TfrmMenu::ConnectAsOya() {
  const std::optional<std::uint16_t> port = CheckedPort();
  if (!port) return;
  const QString hostName = edHostName->text();
  const bool openRouterPort = settings::LoadPreferences().openRouterPort;
  ShowConnecting(true);
  const auto hosted = [this, port = *port](int result) {
    ShowConnecting(false);
    if (result == 0) return OpenGameScreen(true);
    // A port another program holds is no fault of the name.
    if (frmSocket->PortInUse()) {
      Refuse(QStringLiteral("ポート %1 は他のプログラムが使っています").arg(port), QStringLiteral("ホストマシン名入力"),
             edPortNo);
      return;
    }
    Refuse(QStringLiteral("ホストマシン名がが正しくありません"), QStringLiteral("ホストマシン名入力"), edHostName);
  };
  if (!hostName.isEmpty()) {
    frmSocket->StartHost(hostName, *port, UserName, openRouterPort, hosted);
    return;
  }
  frmSocket->StartHost(services_.room.computerName(), *port, UserName, openRouterPort,
                       [this, port = *port, openRouterPort, hosted](int result) {
                         if (result == 0 || frmSocket->PortInUse()) return hosted(result);
                         frmSocket->StartHost(QStringLiteral("localhost"), port, UserName, openRouterPort, hosted);
                       });
}

void TfrmMenu::ConnectAsGuest() {
  const std::optional<std::uint16_t> port = CheckedPort();
  if (!port) return;
  const QString hostName = edHostName->text();
  if (hostName.isEmpty()) {
    Refuse(QStringLiteral("ホストマシーンネームが正しくありません"), QStringLiteral("ホスト入力"), edHostName);
    return;
  }
  ShowConnecting(true);
  frmSocket->ConnectToHost(hostName, *port, UserName, [this](int result) {
    ShowConnecting(false);
    // The socket manager has reported a refused connection itself; an unknown name goes unreported.
    if (result != 0) return Refuse(QString(), QString(), edHostName);
    OpenGameScreen(true);
  });
}

void TfrmMenu::OpenGameScreen(bool network) {
  if (network) {
    frmSocket->SetOutputControl(frmGamen->reMessage);
    hide();
    frmGamen->setWindowTitle(QStringLiteral("Velmora-") + frmSocket->AddressText());
  } else {
    hide();
  }
  frmGamen->show();
}

// The data file's view of the dialog.
void TfrmMenu::SelectNoNetwork() {
  rgNet->SetItemIndex(1);
  rgNetClick();
}
void TfrmMenu::UncheckOya() {
  cbOya->setChecked(false);
  cbOyaClick();
}
void TfrmMenu::SetHostName(const QString& text) { edHostName->setText(text); }
void TfrmMenu::SetPortText(const QString& text) { edPortNo->setText(text); }
void TfrmMenu::SetUserName(const QString& text) { edUserName->setText(text); }
int TfrmMenu::CharaCount() const { return static_cast<int>(CharaList.size()); }
QString TfrmMenu::CharaPath(int index) const { return CharaList.value(index); }
void TfrmMenu::NextChara() { btNextClick(); }
bool TfrmMenu::NetworkSelected() const { return rgNet->ItemIndex() == 0; }
bool TfrmMenu::OyaChecked() const { return cbOya->isChecked(); }
QString TfrmMenu::HostNameText() const { return edHostName->text(); }
QString TfrmMenu::PortText() const { return edPortNo->text(); }
QString TfrmMenu::UserNameText() const { return edUserName->text(); }
