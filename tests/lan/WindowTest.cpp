// The picker window "ユーザーの検索" over an in-memory neighbourhood.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "lan/TWntDisp.h"
#include "platform/MemoryNeighbourhood.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/Wait.h"

using platform::MemoryNeighbourhood;
using Level = MemoryNeighbourhood::Level;
using Node = MemoryNeighbourhood::Node;

namespace {


Level Workgroup(const QStringList& servers, std::size_t perCall = platform::kEnumMaxEntries) {
  Level inside;
  inside.perCall = perCall;
  for (const QString& name : servers) inside.entries.push_back({MemoryNeighbourhood::Server(name), {}});
  return Level{{{MemoryNeighbourhood::Provider("Network"),
                 Level{{{MemoryNeighbourhood::Domain("WORKGROUP"), inside},
                        {MemoryNeighbourhood::Domain("OTHERS"), Level{{{MemoryNeighbourhood::Server("LAST"), {}}}}}}}}}};
}

QStringList Captions(const QListWidget* list) {
  QStringList captions;
  for (int i = 0; i < list->count(); ++i) captions << list->item(i)->text();
  return captions;
}

QPoint ItemCentre(const QListWidget* list, int row) { return list->visualItemRect(list->item(row)).center(); }

// A point on the list below every item.
QPoint Beside(const QListWidget* list) { return QPoint(list->viewport()->width() - 4, list->viewport()->height() - 4); }

struct Picker {
  explicit Picker(Level top) : source(std::make_shared<MemoryNeighbourhood>(std::move(top))) {}
  void Create() { window = std::make_unique<TWNetDisp>(nullptr, source, boxes.dialogs()); }
  MessageRecorder boxes;
  std::shared_ptr<MemoryNeighbourhood> source;
  std::unique_ptr<TWNetDisp> window;
};

// A double-click as the mouse makes it: a click, then the second press.
void DoubleClick(QWidget* widget, QPoint at) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, at);
  QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
}

// Shows the window modally, acts on it from inside its loop, and answers its result.
int RunModal(TWNetDisp& window, const std::function<void()>& act) {
  QTimer::singleShot(0, &window, act);
  QTimer::singleShot(5000, &window, [&] { window.done(-1); });  // a test that forgets to close it
  return window.exec();
}

}  // namespace

TEST(Picker, ListsTheServersFoundWithPictureZero) {
  Picker picker(Workgroup({"ALPHA", "BETA", "GAMMA"}));
  picker.Create();
  QListWidget* list = picker.window->ListView1;
  ASSERT_TRUE(WaitUntil([&] { return list->count() == 4; }));
  EXPECT_EQ(Captions(list), (QStringList{"ALPHA", "BETA", "GAMMA", "LAST"}));
  for (int i = 0; i < list->count(); ++i) {
    EXPECT_EQ(list->item(i)->data(TWNetDisp::ImageIndexRole).toInt(), 0);
    EXPECT_FALSE(list->item(i)->icon().isNull());
  }
}

TEST(Picker, TheListGrowsWhileTheWindowIsOpen) {
  Picker picker(Workgroup({"ALPHA", "BETA", "GAMMA"}, 1));
  picker.source->HoldAfter(4);  // the provider, the two workgroups and the first server
  picker.Create();
  QListWidget* list = picker.window->ListView1;
  ASSERT_TRUE(WaitUntil([&] { return list->count() == 1; }));

  picker.window->open();
  ASSERT_TRUE(WaitUntil([&] { return picker.source->Held(); }));
  QCoreApplication::processEvents();  // whatever was handed over before the hold is in the list
  EXPECT_EQ(Captions(list), QStringList{"ALPHA"});
  picker.source->Release();
  ASSERT_TRUE(WaitUntil([&] { return list->count() == 4; }));
  EXPECT_TRUE(picker.window->isVisible());
  EXPECT_EQ(Captions(list), (QStringList{"ALPHA", "BETA", "GAMMA", "LAST"}));
}

TEST(Picker, ChoosingNeedsASelection) {
  Picker picker(Workgroup({"ALPHA", "BETA"}));
  picker.Create();
  TWNetDisp& window = *picker.window;
  window.show();
  QListWidget* list = window.ListView1;
  ASSERT_TRUE(WaitUntil([&] { return list->count() == 3; }));
  EXPECT_FALSE(window.Button1->isEnabled());

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, ItemCentre(list, 1));
  EXPECT_TRUE(window.Button1->isEnabled());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, Beside(list));
  EXPECT_FALSE(window.Button1->isEnabled());

  // Double-clicking beside the items, with nothing selected, asks for a choice and stays open.
  DoubleClick(list->viewport(), Beside(list));
  EXPECT_EQ(picker.boxes.boxes(),
            (std::vector<MessageRecorder::Box>{{"ユーザー名を選んでください", "ユーザーの選択"}}));
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.ChosenName.isEmpty());
}

TEST(Picker, AnEmptyListAsksForANameOnDoubleClick) {
  Level nothing;
  nothing.openFails = true;  // no network at all
  Picker picker(nothing);
  picker.Create();
  TWNetDisp& window = *picker.window;
  ASSERT_TRUE(WaitUntil([&] { return picker.source->Opened().size() == 1 && picker.source->OpenNow() == 0; }));
  const int result = RunModal(window, [&] {
    DoubleClick(window.ListView1->viewport(), QPoint(30, 30));
    EXPECT_TRUE(window.isVisible());
    window.Button2->click();
  });
  EXPECT_EQ(result, TWNetDisp::mrCancel);
  EXPECT_EQ(window.ListView1->count(), 0);
  EXPECT_FALSE(window.Button1->isEnabled());
  EXPECT_EQ(picker.boxes.boxes(),
            (std::vector<MessageRecorder::Box>{{"ユーザー名を選んでください", "ユーザーの選択"}}));
}

TEST(Picker, AChoiceReachesTheHostBoxAndCancelLeavesItAlone) {
  Picker picker(Workgroup({"ALPHA", "BETA"}));
  picker.Create();
  TWNetDisp& window = *picker.window;
  QListWidget* list = window.ListView1;
  ASSERT_TRUE(WaitUntil([&] { return list->count() == 3; }));
  QLineEdit hostBox("typed.example");
  // The connection dialog puts a choice into its host box, and only a choice.
  const auto pick = [&](const std::function<void()>& act) {
    const int result = RunModal(window, act);
    if (result == TWNetDisp::mrChoice) hostBox.setText(window.ChosenName);
    return result;
  };

  int result = pick([&] {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, ItemCentre(list, 1));
    QTest::mouseClick(window.Button2, Qt::LeftButton);
  });
  EXPECT_EQ(result, TWNetDisp::mrCancel);
  EXPECT_EQ(hostBox.text(), "typed.example");
  EXPECT_TRUE(window.ChosenName.isEmpty());

  // The selection survives until the next opening, where "ユーザーの選択" takes it.
  result = pick([&] { QTest::mouseClick(window.Button1, Qt::LeftButton); });
  EXPECT_EQ(result, TWNetDisp::mrChoice);
  EXPECT_EQ(window.ChosenName, "BETA");
  EXPECT_EQ(hostBox.text(), "BETA");

  result = pick([&] { DoubleClick(list->viewport(), ItemCentre(list, 2)); });
  EXPECT_EQ(result, TWNetDisp::mrChoice);
  EXPECT_EQ(hostBox.text(), "LAST");
  EXPECT_TRUE(picker.boxes.boxes().empty());
}

TEST(Picker, ResizingKeepsTheListCentredAndTheButtonsBelowIt) {
  Picker picker(Workgroup({}));
  picker.Create();
  TWNetDisp& window = *picker.window;
  window.show();  // a hidden window puts its resizing off until it is shown
  window.resize(500, 300);
  EXPECT_EQ(window.ListView1->geometry(), QRect(20, 8, 450, 210));
  EXPECT_EQ(window.Button1->pos(), QPoint(20, 230));
  EXPECT_EQ(window.Button2->y(), 230);
  EXPECT_EQ(window.Button2->geometry().right(), window.ListView1->geometry().right());

  window.resize(383, 183);  // the size it starts with
  EXPECT_EQ(window.ListView1->geometry(), QRect(20, 8, 333, 93));
  EXPECT_EQ(window.Button1->pos(), QPoint(20, 113));
  EXPECT_EQ(window.Button2->geometry().right(), window.ListView1->geometry().right());

  window.resize(121, 95);  // odd sizes: halves are cut toward zero
  EXPECT_EQ(window.ListView1->geometry(), QRect(20, 8, 71, 5));
  EXPECT_EQ(window.Button2->x(), 121 - (25 + 75 + 5));
}

TEST(Picker, TheTileCoversTheBackgroundAndTheListIsMaroon) {
  Picker picker(Workgroup({"ALPHA", "BETA", "GAMMA"}));
  picker.Create();
  TWNetDisp& window = *picker.window;
  ASSERT_TRUE(WaitUntil([&] { return window.ListView1->count() == 4; }));
  window.show();
  const QImage shot = window.grab().toImage();
  shot.save("/tmp/velm-lan-picker.png");
  const QImage tile = window.Image1->pixmap().toImage();
  ASSERT_EQ(tile.size(), QSize(16, 16));
  // The tile repeats from the window's corner: under the list's left margin and below the buttons.
  for (const QPoint at : {QPoint(3, 5), QPoint(16 + 3, 48 + 5), QPoint(5, 160 + 11), QPoint(368 + 9, 144 + 6)})
    EXPECT_EQ(shot.pixel(at), tile.pixel(at.x() % 16, at.y() % 16)) << at.x() << "," << at.y();
  // It has the three colours, not one.
  QSet<QRgb> colours;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) colours.insert(tile.pixel(x, y));
  EXPECT_GE(colours.size(), 3);

  const QListWidget* list = window.ListView1;
  const QPoint empty = list->mapTo(&window, list->viewport()->mapToParent(Beside(list)));
  EXPECT_EQ(shot.pixelColor(empty), QColor(0x80, 0x00, 0x00));
  // The disc's white corner is transparent: the maroon shows through beside it.
  const QRect firstItem = list->visualItemRect(list->item(0));
  const QPoint discCorner = list->mapTo(&window, list->viewport()->mapToParent(firstItem.topLeft()));
  EXPECT_EQ(shot.pixelColor(discCorner + QPoint(1, 1)), QColor(0x80, 0x00, 0x00));
}

TEST(Picker, TheWalkStopsQuietlyWhenTheWindowGoesAway) {
  Level top = Workgroup({"ALPHA", "BETA", "GAMMA"}, 1);
  Picker picker(top);
  picker.source->HoldAfter(4);
  picker.Create();
  ASSERT_TRUE(WaitUntil([&] { return picker.window->ListView1->count() == 1; }));
  picker.window.reset();
  picker.source->Release();
  // The walk hands over its next server, finds the window gone and ends, closing its levels.
  ASSERT_TRUE(WaitUntil([&] { return picker.source->OpenNow() == 0; }));
  EXPECT_EQ(picker.source->Opened(), (QStringList{"", "Network", "WORKGROUP"}));
  QCoreApplication::processEvents();
}
