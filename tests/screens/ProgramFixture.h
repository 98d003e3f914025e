#pragma once
// The whole window set in a temporary program folder: nothing is written into build/bin or the
// user's own config, boxes are recorded, help pages are noted instead of opened.
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTest>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "board/IReversi.h"
#include "screens/TurnFlow.h"
#include "enginehost/EngineCalls.h"
#include "game/Game.h"
#include "platform/DesignFonts.h"
#include "platform/InterfaceAddresses.h"
#include "platform/NameLookup.h"
#include "platform/MemoryNeighbourhood.h"
#include "platform/Registry.h"
#include "screens/ChildWin.h"
#include "screens/Help.h"
#include "screens/Menu.h"
#include "screens/MenuWk.h"
#include "screens/ProgramForms.h"
#include "tests/support/Files.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/Wait.h"

class ProgramFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    exePath = dir_.path() + QStringLiteral("/program/");
    QDir().mkpath(exePath);
    // The engine runner lies in the program folder, as velmora's does.
    const QString runner = QString::fromStdString(EngineRunnerName());
    ASSERT_TRUE(QFile::link(qEnvironmentVariable("VELM_BIN_DIR") + "/" + runner, exePath + runner));
    QDir().mkpath(exePath + QStringLiteral("help"));
    for (const QString& page : {kHelpStart, kHelpMenu, kHelpGame}) ASSERT_TRUE(WriteFile(exePath + page));
    platform::MapDesignFonts();
  }

  void TearDown() override {
    Stop();
  }

  // Copies character pictures from the program's own set, under the given names.
  void AddPictures(const QStringList& names) {
    const QString source = QStringLiteral(VELM_CHARACTERS_DIR "/neko.bmp");
    for (const QString& name : names) ASSERT_TRUE(QFile::copy(source, exePath + name)) << name.toStdString();
  }

  // Copies the built engine (build/bin/DllCpu/Tekum) into a folder's DllCpu/<engine>/.
  void AddEngines(const QString& folder = QString(), const QString& engine = QStringLiteral("Tekum")) {
    const QString from = qEnvironmentVariable("VELM_BIN_DIR") + QStringLiteral("/DllCpu/Tekum");
    const QString to = (folder.isEmpty() ? exePath : folder) + QStringLiteral("DllCpu/") + engine + QStringLiteral("/");
    QDir().mkpath(to);
    ASSERT_FALSE(QDir(from).entryList(QDir::Files).isEmpty()) << "the engine is built into " << from.toStdString();
    for (const QString& name : QDir(from).entryList(QDir::Files)) ASSERT_TRUE(QFile::copy(from + "/" + name, to + name));
  }

  // dataPath: where the user's files are kept, as for an installed program; empty for exePath.
  void Start(const QString& dataPath = QString()) {
    auto empty = std::make_shared<platform::MemoryNeighbourhood>(platform::MemoryNeighbourhood::Level{});
    forms_ = std::make_unique<TProgramForms>(exePath, empty, dataPath, PreferencesFile(), MakeServices());
    programEnded = false;
    frmMenu->OnProgramEnd = [this] { programEnded = true; };
    forms_->ShowMain();
    QCoreApplication::processEvents();
  }

  // Ends the program as its start does: windows in reverse order, the dialog last.
  void Stop() { forms_.reset(); }

  // The record the game screen counts into and the dialog saves.
  SaveRecord& Record() { return frmGamen->SaveRecord; }
  // The one game the windows show, and the preferences kept between runs (here in the test's
  // own folder).
  Game& TheGame() { return forms_->Shared().game; }
  QString PreferencesFile() const { return dir_.path() + QStringLiteral("/config/velmora/velmora.conf"); }
  // The middle of a cell as the game screen's board draws it.
  static QPoint CellCentre(int x, int y) { return frmGamen->Reversi->CellRect(x, y).center(); }

  // Runs fn once the widget is visible (a modal window runs its own loop meanwhile). A window
  // still open after the time limit is closed, so a test never hangs.
  static void WhenShown(QWidget* widget, std::function<void()> fn, int limitMs = 5000) {
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [=] {
      if (widget->isVisible()) {
        timer->stop();
        fn();
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) {
          ADD_FAILURE() << "a modal window was left open";
          dialog->reject();
        }
      } else if (clock->elapsed() > limitMs) {
        timer->stop();
        ADD_FAILURE() << "window not shown in time";
      } else {
        return;
      }
      timer->deleteLater();
      delete clock;
    });
    timer->start(5);
  }

  // Waits until the open match menu's engine search has filled its lists.
  static bool EnginesListed() {
    return WaitUntil([] { return frmMenuWk && !frmMenuWk->SearchingCpuDll(); }, 30000);
  }


  // A key pressed by the user: it goes to the control that has the focus in the active window.
  static void PressKey(QWidget* control, Qt::Key key) {
    QApplication::setActiveWindow(control->window());
    control->setFocus();
    QTest::keyClick(control, key);
  }
  static void TypeText(QWidget* control, const QString& text) {
    QApplication::setActiveWindow(control->window());
    control->setFocus();
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(control, &press);
    }
  }

  // Boxes recorded, help pages noted, the registry in the temporary folder.
  Services MakeServices() {
    Services services;
    services.dialogs = boxes.dialogs();
    services.openFile = [this](const QString& page) {
      helpPages << page;
      return helpOpens;
    };
    services.registryRoot = RegistryRoot();
    services.loginName = [this] { return login; };
    // This machine's name resolves to loopback here: nothing is sent beyond it.
    services.room.computerName = [] { return QStringLiteral("localhost"); };
    if (!interfaces.empty()) services.room.interfaces = [list = interfaces] { return list; };
    services.room.resolver = resolver;
    return services;
  }
  QString RegistryRoot() const { return dir_.path() + QStringLiteral("/registry"); }

  QString exePath;
  QStringList helpPages;
  bool helpOpens = true;  // whether a viewer can show the pages
  // What the system answers, as the program sees it from the next Start() on.
  QString login;
  std::vector<platform::InterfaceAddress> interfaces;  // empty: the machine's own
  platform::NameLookup::Resolver resolver;              // empty: the system's resolver
  bool programEnded = false;
  MessageRecorder boxes;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<TProgramForms> forms_;
};
