#include "lan/TWntDisp.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "lan/TWnet.h"
#include "platform/DesignFonts.h"
#include "platform/NetNeighbourhood.h"
#include "platform/ScreenCentre.h"

TWNetDisp* WNetDisp = nullptr;

namespace {
const QColor kMaroon(0x80, 0x00, 0x00);

// A picture whose white background is drawn transparent.
QPixmap TransparentOnWhite(const QString& path) {
  QPixmap picture(path);
  picture.setMask(picture.createMaskFromColor(Qt::white));
  return picture;
}
}  // namespace

TWNetDisp::TWNetDisp(QWidget* parent, std::shared_ptr<platform::NetNeighbourhood> source, platform::Dialogs dialogs)
    : QDialog(parent), dialogs_(std::move(dialogs)) {
  setWindowTitle(QStringLiteral("ユーザーの検索"));
  // Minimise and maximise only, no system menu.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowMinMaxButtonsHint);
  setFont(platform::DesignFont(platform::kPGothic, 12));

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(0, 0, 16, 16);
  Image1->setPixmap(QPixmap(QStringLiteral(":/lan/tile.bmp")));
  Image1->hide();

  ImageList1.push_back(TransparentOnWhite(QStringLiteral(":/lan/disc.bmp")));

  ListView1 = new QListWidget(this);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setViewMode(QListView::ListMode);
  ListView1->setFlow(QListView::TopToBottom);
  ListView1->setWrapping(true);
  ListView1->setResizeMode(QListView::Adjust);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setIconSize(QSize(16, 16));
  QFont names = platform::DesignFont(platform::kGothic, 13);
  names.setBold(true);
  ListView1->setFont(names);
  QPalette colours = ListView1->palette();
  colours.setColor(QPalette::Base, kMaroon);
  colours.setColor(QPalette::Text, Qt::white);
  ListView1->setPalette(colours);
  ListView1->viewport()->installEventFilter(this);

  Button1 = new QPushButton(QStringLiteral("ユーザーの選択"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->resize(100, 25);
  Button1->setEnabled(false);
  Button1->setAutoDefault(false);

  Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->resize(75, 25);
  Button2->setAutoDefault(false);

  connect(ListView1, &QListWidget::itemSelectionChanged, this, &TWNetDisp::ListView1Click);
  connect(Button1, &QPushButton::clicked, this, &TWNetDisp::ListView1DblClick);
  connect(Button2, &QPushButton::clicked, this, &TWNetDisp::Button2Click);

  resize(383, 183);
  platform::CentreOnScreen(this);

  FormCreate(std::move(source));
}

// The walk may still be running: stopping it closes its hand-over, so it neither touches this
// window nor keeps waiting for it, and nobody waits for it either.
TWNetDisp::~TWNetDisp() = default;

void TWNetDisp::FormCreate(std::shared_ptr<platform::NetNeighbourhood> source) {
  background_ = QBrush(Image1->pixmap());
  walk_ = std::make_unique<platform::Worker>(
      [walk = std::make_shared<TWNet>(std::move(source),
                                      [this](const QString& caption, int imageIndex) { AddListItem(caption, imageIndex); })](
          platform::Worker::Context& context) { walk->Execute(context); });
}

void TWNetDisp::AddListItem(const QString& caption, int imageIndex) {
  auto* item = new QListWidgetItem(caption, ListView1);
  item->setData(ImageIndexRole, imageIndex);
  if (imageIndex >= 0 && static_cast<std::size_t>(imageIndex) < ImageList1.size())
    item->setIcon(QIcon(ImageList1[static_cast<std::size_t>(imageIndex)]));
}

void TWNetDisp::FormPaint() {
  QPainter painter(this);
  painter.fillRect(QRect(0, 0, width(), height()), background_);
}

void TWNetDisp::FormResize() {
  // The window's own size, without the frame: frames differ between desktops and are known only
  // some time after the window appears, and the layout must not jump when they become known.
  const int w = width();
  const int h = height();
  const int listWidth = w - 50;
  const int left = (w - listWidth) / 2 - 5;
  ListView1->setGeometry(left, 8, listWidth, h - 90);
  Button1->move(left, h - 70);
  Button2->move(w - ((w - listWidth) / 2 + Button2->width() + 5), h - 70);
}

void TWNetDisp::ListView1Click() { Button1->setEnabled(!ListView1->selectedItems().isEmpty()); }

void TWNetDisp::ListView1DblClick() {
  const QList<QListWidgetItem*> selected = ListView1->selectedItems();
  if (selected.isEmpty()) {
    ChosenName.clear();
    dialogs_.ShowMessage(QStringLiteral("ユーザー名を選んでください"), QStringLiteral("ユーザーの選択"));
    return;
  }
  ChosenName = selected.first()->text();
  done(mrChoice);
}

void TWNetDisp::Button2Click() {
  ChosenName.clear();
  done(mrCancel);
}

void TWNetDisp::reject() {
  // Escape or the window manager's close: no choice, like "キャンセル" but without its result.
  ChosenName.clear();
  QDialog::reject();
}

void TWNetDisp::FormClose() {}

void TWNetDisp::paintEvent(QPaintEvent*) { FormPaint(); }

void TWNetDisp::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  FormResize();
}

void TWNetDisp::closeEvent(QCloseEvent* event) {
  FormClose();
  QDialog::closeEvent(event);
}

bool TWNetDisp::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1->viewport()) {
    if (event->type() == QEvent::MouseButtonPress) {
      // A click beside the items drops the selection, as a list view does.
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (!ListView1->itemAt(mouse->position().toPoint())) ListView1->clearSelection();
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      // Anywhere on the list, not only on an item: an empty list asks for a choice.
      ListView1DblClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
