#pragma once
#include <QDialog>
#include <QPointer>
#include <QString>
#include <vector>

#include "enginehost/CpuDiscovery.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class KeyPreview;
class EngineSearch;

// "対戦メニュー": who plays each side of the next game. Opened modally by the game screen on
// the machine that sets up the games; "スタート" configures the board and the player panels,
// "終了" ends the program.
class TfrmMenuWk : public QDialog {
  Q_OBJECT

 public:
  TfrmMenuWk();
  ~TfrmMenuWk() override;

  QLabel* lblPlay1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* lblPlay2 = nullptr;
  QComboBox* cbPlay1 = nullptr;
  QComboBox* cbPlay2 = nullptr;
  QListWidget* lbCpu1 = nullptr;
  QListWidget* lbCpu2 = nullptr;
  QListWidget* lbPlayer1 = nullptr;
  QListWidget* lbPlayer2 = nullptr;
  QPushButton* btOk = nullptr;
  QPushButton* btCancel = nullptr;

  QString ExePath;  // the program folder of the last engine search

  // Empties lbCpu1, lbCpu2 and the game screen's mmDllPath and starts searching the program
  // folder's DllCpu/ on a worker; the lists are filled when it is done (CpuDllFound).
  void SearchCpuDll();
  bool SearchingCpuDll() const { return searching_; }
  // Shows the engine's picture and name on the game screen for side 1 or 2, as the engine
  // reported them to the search; an engine the search did not list leaves them as they were.
  void SetCpuStatus(int side, const QString& libraryPath);

 public slots:
  void cbPlay1Click();
  void cbPlay2Click();
  void lbCpu1Click();
  void lbCpu2Click();
  void lbPlayer1Click();
  void lbPlayer2Click();
  void lbPlayer1DblClick();
  void lbPlayer2DblClick();
  void btOkClick();
  void btCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  struct Side {
    QComboBox* kind;
    QListWidget* cpu;
    QListWidget* players;
    QLabel* name;
  };
  Side SideOf(int side) const;
  void BuildControls();
  void FormShow();
  void FormKeyDown(int key);
  void PlayClick(int side);
  void ListClick(QListWidget* list, QLabel* name);
  void PlayerDblClick(int side);
  int KindOf(int side) const;
  void ConfigureSide(int side);
  // A Net side needs a chosen user; without one "スタート" is disabled.
  bool NetSidesChosen() const;
  void UpdateStart();
  // The search's result: the lists, "Cpu" when an engine was found, a box per bad folder.
  void CpuDllFound(const EngineSearchResult& found);
  void StopSearch();

  KeyPreview* keyPreview_ = nullptr;
  QPointer<EngineSearch> search_;
  bool searching_ = false;
  std::vector<FoundEngine> engines_;  // what the last search found, as listed
};

extern TfrmMenuWk* frmMenuWk;
