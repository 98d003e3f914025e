#pragma once
#include <QWidget>
#include <cstdint>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QSplitterHandle;
class KeyPreview;
class TIReversi;
class TImage;
class ChatHistory;
struct SaveRecord;

// The game screen: the board on the left, the two players and the chat in the middle, the
// connected users on the right. It holds the SaveRecord (owned by the program, which keeps it
// alive until the dialog has written velm.dat) and owns the board component.
class TfrmGamen : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmGamen(::SaveRecord& record);
  ~TfrmGamen() override;

  QFrame* Panel1 = nullptr;
  QSplitterHandle* Splitter1 = nullptr;
  QFrame* Panel2 = nullptr;
  QFrame* Panel3 = nullptr;
  TImage* imKuroFace = nullptr;
  QLabel* lbKuroName = nullptr;
  QSplitterHandle* Splitter2 = nullptr;
  QFrame* Panel4 = nullptr;
  TImage* imShiroKoma = nullptr;
  QLabel* lbShiroKoma = nullptr;
  QSplitterHandle* Splitter3 = nullptr;
  QFrame* Panel5 = nullptr;
  QLineEdit* edMessage = nullptr;
  QPlainTextEdit* reMessage = nullptr;
  QPlainTextEdit* mmDllPath = nullptr;  // hidden: one engine library path per line
  QPushButton* btRestart = nullptr;
  QSplitterHandle* Splitter4 = nullptr;
  QFrame* Panel6 = nullptr;
  QFrame* Panel7 = nullptr;
  QListWidget* lbPeaple = nullptr;

  TIReversi* Reversi = nullptr;
  // Host: the client numbers of the running game's Net players, as the match menu records
  // them; -1 for none. The room ends the game when either leaves.
  std::int32_t NetUser1 = -1;
  std::int32_t NetUser2 = -1;
  ::SaveRecord& SaveRecord;

  void SaveGamenPos();
  // Whether this machine sets up the games: the host, or any machine without network.
  bool SetsUpGames() const;

 public slots:
  void Splitter1Moved();
  void Panel3Resize();
  void Panel4Resize();
  void Panel5Resize();
  void edMessageKeyDown(int key);
  void lbPeapleDblClick();
  void mnuRestartClick();

 protected:
  void setVisible(bool visible) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void FormCreate();
  void FormShow();
  // FormShow's first step, applied before the window reaches the screen so that the platform
  // window is made at the restored place and size.
  void RestoreGeometry();
  // The part of FormShow that waits for the window to be on screen: the network's first
  // records, the match menu and the panel heights.
  void FormShowStarted();
  void FormResize();
  void FormKeyDown(int key);
  void FormCloseQuery();
  void SetColumnWidths(int board, int players, int peaple);
  // The match menu, modally; its cancel ends the program. Answers whether it started a game.
  bool RunMatchMenu();

  QSplitter* columns_ = nullptr;
  QSplitter* playerColumn_ = nullptr;
  KeyPreview* keyPreview_ = nullptr;
  ChatHistory* chatHistory_ = nullptr;  // reMessage's lines, all of them, for Chat.log
  bool closed_ = false;
  // Set while a restored geometry is in force: a resize to the restored size keeps the saved
  // panel widths instead of halving.
  bool keepSavedPanels_ = false;
};

extern TfrmGamen* frmGamen;
