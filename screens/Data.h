#pragma once
#include <QWidget>
#include <array>
#include <cstdint>

class QLabel;
class QPushButton;

// "対戦データ": one connected user's record. The opener writes the name and shows the window;
// the numbers come later with the statistics reply (Fill).
class TfrmData : public QWidget {
  Q_OBJECT

 public:
  TfrmData();
  ~TfrmData() override;

  QLabel* lbName = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* lbSouNum = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* lbSouWin = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* lbSouLose = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* lbSouRitsu = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* lbNum = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* lbWin = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* lbLose = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* lbRitsu = nullptr;
  QPushButton* btClose = nullptr;

  // The six counters of a statistics reply: total games, wins, losses, network games, wins, losses.
  void Fill(const std::array<std::int32_t, 6>& counters);

  // Shows the window above the window of opener, also while that one is modal (the match
  // menu): the window belongs to its opener for as long as it is shown.
  void ShowOver(QWidget* opener);
  // Titles the window with the user whose record was asked for and shows it over opener.
  void ShowRecordOf(const QString& name, QWidget* opener);

 public slots:
  void btCloseClick();
};

extern TfrmData* frmData;
