#pragma once
#include <QBrush>
#include <QDialog>
#include <QPixmap>
#include <QString>
#include <memory>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Worker.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace platform {
class NetNeighbourhood;
}

// "ユーザーの検索": the machines found on the local network, gathered by TWNet in the background.
// Created once at start by the program, which points WNetDisp at it; shown modally by the
// connection dialog. exec() answers mrChoice when a name was picked (read ChosenName) and
// mrCancel for "キャンセル"; the list and its selection survive between openings.
class TWNetDisp : public QDialog {
  Q_OBJECT

 public:
  static constexpr int mrChoice = 1;
  static constexpr int mrCancel = 2;
  // The item data role that holds a machine's image index in ImageList1.
  static constexpr int ImageIndexRole = Qt::UserRole;

  // Walks source (the program gives platform::DefaultNetNeighbourhood(), tests an in-memory
  // one); dialogs shows its box.
  TWNetDisp(QWidget* parent, std::shared_ptr<platform::NetNeighbourhood> source, platform::Dialogs dialogs = {});
  ~TWNetDisp() override;

  QString ChosenName;  // the picked machine name, or empty

  QLabel* Image1 = nullptr;  // hidden; holds the background tile
  QListWidget* ListView1 = nullptr;
  std::vector<QPixmap> ImageList1;
  QPushButton* Button1 = nullptr;  // "ユーザーの選択"
  QPushButton* Button2 = nullptr;  // "キャンセル"

  // Runs on the main thread for each entry the walk hands over; adds one list item per server.
  void AddListItem(const QString& caption, int imageIndex);

 public slots:
  void ListView1Click();
  void ListView1DblClick();
  void Button2Click();
  void reject() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate(std::shared_ptr<platform::NetNeighbourhood> source);
  void FormPaint();
  void FormResize();
  void FormClose();

  QBrush background_;  // the tile of Image1
  platform::Dialogs dialogs_;
  std::unique_ptr<platform::Worker> walk_;  // after the list it fills: stopped first
};

extern TWNetDisp* WNetDisp;
