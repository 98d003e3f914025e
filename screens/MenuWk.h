#pragma once
#include <QDialog>
#include <QPointer>
#include <memory>
#include <QString>
#include <vector>

#include "enginehost/CpuDiscovery.h"
#include "screens/MatchChoice.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class KeyPreview;
class EngineSearch;
struct Session;

// "対戦メニュー": who plays each side of the next game. Opened modally by the game screen on
// the machine that sets up the games; "スタート" closes it with the choice (Choice), from which
// the game screen sets the game up; "終了" ends the program. It opens with the sides and engines
// chosen last time, which the session's preferences keep from one run to the next.
class TfrmMenuWk : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmMenuWk(Session& session);
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

  // Empties lbCpu1 and lbCpu2 and starts searching the program folder's DllCpu/ on a worker;
  // the lists are filled when it is done (CpuDllFound).
  void SearchCpuDll();
  bool SearchingCpuDll() const { return searching_; }
  // What "スタート" decided.
  const MatchChoice& Choice() const { return choice_; }

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
  // Selects a kind ("local", "Cpu", "Net") for a side, as a click on its entry would.
  bool ChooseKind(int side, const QString& kind);
  // The choices of the last game, where the lists offer them; an engine waits for the search.
  void OfferLastChoices();
  void RememberChoices();
  // A Net side needs a chosen user; without one "スタート" is disabled.
  bool NetSidesChosen() const;
  void UpdateStart();
  // The search's result: the lists, "Cpu" when an engine was found, a box per bad folder.
  void CpuDllFound(const EngineSearchResult& found);
  void StopSearch();

  Session& session_;
  KeyPreview* keyPreview_ = nullptr;
  MatchChoice choice_;
  bool lastEngineOffered_[2] = {true, true};  // until the search is done or the user chooses
  std::unique_ptr<EngineSearch> search_;
  bool searching_ = false;
  std::vector<FoundEngine> engines_;  // what the last search found, as listed
};

extern TfrmMenuWk* frmMenuWk;
