#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "board/IReversi.h"
#include "net/NetRecord.h"
#include "net/FacePicture.h"
#include "platform/Codec.h"
#include "screens/ChildWin.h"
#include "screens/Image.h"
#include "screens/MenuWk.h"
#include "screens/RadioGroup.h"
#include "settings/RegistryRecord.h"
#include "settings/SaveRecord.h"
#include "tests/screens/ProgramFixture.h"
#include "tests/support/Files.h"
#include "tests/support/Wait.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
using Box = MessageRecorder::Box;

// A port on 127.0.0.1 that someone else is listening on.
class BusyPort {
 public:
  BusyPort() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&a), len) == 0 && ::listen(fd_, 1) == 0 &&
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len) == 0) {
      port_ = ntohs(a.sin_port);
    }
  }
  ~BusyPort() { ::close(fd_); }
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};
}  // namespace

// Once the limit has passed, opens the writing end of each FIFO again and again, so that a
// reader stuck on one is let go and the test fails instead of hanging.
class FifoRescue {
 public:
  FifoRescue(const QStringList& paths, std::chrono::milliseconds limit) {
    for (const QString& path : paths) paths_.push_back(QFile::encodeName(path).toStdString());
    thread_ = std::thread([this, limit] {
      std::unique_lock lock(mutex_);
      if (wake_.wait_for(lock, limit, [this] { return done_; })) return;
      while (!wake_.wait_for(lock, std::chrono::milliseconds(50), [this] { return done_; })) {
        for (const std::string& path : paths_) {
          const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
          if (fd >= 0) rescued_ = true, ::close(fd);
        }
      }
    });
  }
  ~FifoRescue() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  bool Rescued() const { return rescued_; }

 private:
  std::vector<std::string> paths_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::atomic<bool> rescued_ = false;
  std::thread thread_;
};

class DialogTest : public ProgramFixture {
 protected:
  void StartWithPictures(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i) names << QStringLiteral("face%1.bmp").arg(i);
    AddPictures(names);
    Start();
  }
  // "接続する", which a first start does not offer.
  void ChooseNetwork() { frmMenu->rgNet->Button(0)->click(); }
  // "接続しない" and OK with the name in the box, "スタート" in the match menu: a game is on.
  void OpenGameWithoutNetwork() {
    frmMenu->rgNet->Button(1)->click();
    WhenShown(frmMenuWk, [] { frmMenuWk->btOk->click(); });
    frmMenu->btOk->click();
    ASSERT_TRUE(WaitUntil([] { return frmMenuWk->result() == QDialog::Accepted && !frmMenuWk->isVisible(); }));
  }
  // The match menu that a game screen opens is closed with "終了" as soon as it shows.
  void CancelMatchMenuWhenShown() {
    WhenShown(frmMenuWk, [] { frmMenuWk->btCancel->click(); });
  }
};

TEST_F(DialogTest, StartsWithTheDesignState) {
  StartWithPictures(1);
  EXPECT_EQ(frmMenu->windowTitle(), "Netへの接続");
  EXPECT_EQ(frmMenu->size(), QSize(292, 320));
  EXPECT_TRUE(frmMenu->isVisible());
  EXPECT_FALSE(frmGamen->isVisible());
  EXPECT_EQ(frmMenu->rgNet->ItemIndex(), 1) << "a first start offers a game at this machine";
  EXPECT_FALSE(frmMenu->edPortNo->isVisible());
  EXPECT_TRUE(frmMenu->cbOya->isChecked());
  EXPECT_FALSE(frmMenu->lbName->isEnabled());
  EXPECT_FALSE(frmMenu->edHostName->isEnabled());
  EXPECT_FALSE(frmMenu->btUser->isEnabled());
  EXPECT_FALSE(frmMenu->btUser->focusPolicy() & Qt::TabFocus);
  EXPECT_FALSE(frmMenu->btPrev->isEnabled());
  EXPECT_EQ(frmMenu->btOk->text(), "Ｏ  Ｋ");
  EXPECT_EQ(frmMenu->edUserName->toolTip(), "Net上の貴方の名前を入力してください");
  EXPECT_EQ(frmMenu->ExePath, exePath);
  // The path through the boxes follows the design's tab order.
  EXPECT_EQ(frmMenu->edHostName->nextInFocusChain(), frmMenu->edPortNo);
  EXPECT_EQ(frmMenu->edPortNo->nextInFocusChain(), frmMenu->edUserName);
  EXPECT_EQ(frmMenu->edUserName->nextInFocusChain(), frmMenu->btOk);
  EXPECT_EQ(frmMenu->btCancel->nextInFocusChain(), frmMenu->btNext);
  // The registry record is written as the dialog is created.
  EXPECT_EQ(platform::RegistryKey(RegistryRoot(), settings::kRegistryKeyPath).Read("NAME").toString(), "Velmora");
}

TEST_F(DialogTest, NetworkChoiceAndHostBoxSwitchTheirControls) {
  StartWithPictures(1);
  frmMenu->rgNet->Button(1)->click();
  for (QWidget* w : {static_cast<QWidget*>(frmMenu->cbOya), static_cast<QWidget*>(frmMenu->lbName),
                     static_cast<QWidget*>(frmMenu->edHostName), static_cast<QWidget*>(frmMenu->btUser),
                     static_cast<QWidget*>(frmMenu->lbPortNo), static_cast<QWidget*>(frmMenu->edPortNo)}) {
    EXPECT_FALSE(w->isVisible());
  }
  EXPECT_TRUE(frmMenu->edUserName->isVisible());
  frmMenu->rgNet->Button(0)->click();
  EXPECT_TRUE(frmMenu->edPortNo->isVisible());

  frmMenu->edHostName->setText("kept");
  frmMenu->cbOya->click();  // now joining
  EXPECT_TRUE(frmMenu->edHostName->isEnabled());
  EXPECT_TRUE(frmMenu->btUser->isEnabled());
  const QColor joining = frmMenu->edHostName->palette().color(QPalette::Base);
  frmMenu->cbOya->click();  // hosting again
  EXPECT_FALSE(frmMenu->edHostName->isEnabled());
  EXPECT_NE(frmMenu->edHostName->palette().color(QPalette::Base), joining);
  EXPECT_EQ(frmMenu->edHostName->text(), "kept");
}

TEST_F(DialogTest, EmptyUserNameIsRefused) {
  StartWithPictures(1);
  frmMenu->edPortNo->setText("5000");
  frmMenu->btOk->click();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0], (Box{"ユーザー名が入力されていません", "ユーザー名"}));
  EXPECT_EQ(frmMenu->focusWidget(), frmMenu->edUserName);
  EXPECT_TRUE(frmMenu->btOk->isEnabled());
  EXPECT_TRUE(frmMenu->btCancel->isEnabled());
  EXPECT_FALSE(frmGamen->isVisible());
}

TEST_F(DialogTest, PortRefusalsKeepTheDialogAndGiveTheButtonsBack) {
  StartWithPictures(1);
  ChooseNetwork();
  frmMenu->edUserName->setText("taro");
  const struct {
    const char* port;
    Box box;
  } cases[] = {
      {"", {"ポートNoが入力されていません", "ポート入力"}},
      {"abc", {"ポートNoが正しくありません", "ポート入力"}},
      {"70000", {"ポートNoが正しくありません", "ポート入力"}},
      {"0", {"ポートNoが正しくありません", "ポート入力"}},
  };
  for (const auto& c : cases) {
    boxes.clear();
    frmMenu->edUserName->setFocus();
    frmMenu->edPortNo->setText(c.port);
    frmMenu->btOk->click();
    ASSERT_EQ(boxes.boxes().size(), 1u) << c.port;
    EXPECT_EQ(boxes.boxes()[0], c.box) << c.port;
    EXPECT_EQ(frmMenu->focusWidget(), frmMenu->edPortNo) << c.port;
    EXPECT_TRUE(frmMenu->btOk->isEnabled());
    EXPECT_TRUE(frmMenu->btCancel->isEnabled());
    EXPECT_FALSE(frmMenu->btUser->isEnabled()) << "a host names no machine";
    EXPECT_EQ(frmMenu->edPortNo->text(), c.port);
  }
  EXPECT_FALSE(frmGamen->isVisible());
  EXPECT_TRUE(TheGame().NetPlay()) << "OK past the name check sets the network flag";
}

TEST_F(DialogTest, JoiningNeedsAHostName) {
  StartWithPictures(1);
  ChooseNetwork();
  frmMenu->cbOya->click();
  frmMenu->edUserName->setText("taro");
  frmMenu->edPortNo->setText("5000");
  frmMenu->btOk->click();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0], (Box{"ホストマシーンネームが正しくありません", "ホスト入力"}));
  EXPECT_EQ(frmMenu->focusWidget(), frmMenu->edHostName);
  EXPECT_TRUE(frmMenu->btUser->isEnabled());
}

TEST_F(DialogTest, HostingOnABusyPortIsRefused) {
  BusyPort busy;
  ASSERT_NE(busy.port(), 0);
  StartWithPictures(1);
  ChooseNetwork();
  frmMenu->cbOya->click();
  frmMenu->edHostName->setText("127.0.0.1");
  frmMenu->cbOya->click();  // hosting, with a machine name left in the box
  frmMenu->edUserName->setText("taro");
  frmMenu->edPortNo->setText(QString::number(busy.port()));
  frmMenu->btOk->click();
  ASSERT_TRUE(WaitUntil([&] { return !boxes.boxes().empty(); }));
  ASSERT_EQ(boxes.boxes().size(), 1u);
  // The port is named as the fault, not the machine.
  EXPECT_EQ(boxes.boxes()[0], (Box{QStringLiteral("ポート %1 は他のプログラムが使っています").arg(busy.port()), "ホストマシン名入力"}));
  // The machine-name box is disabled while hosting, so the port box takes the focus.
  EXPECT_EQ(frmMenu->focusWidget(), frmMenu->edPortNo);
  EXPECT_TRUE(frmMenu->btOk->isEnabled());
  EXPECT_FALSE(frmGamen->isVisible());
}

TEST_F(DialogTest, WithoutNetworkOnlyTheUserNameIsNeeded) {
  StartWithPictures(1);
  frmMenu->rgNet->Button(1)->click();
  frmMenu->edPortNo->setText("not a port");
  frmMenu->edUserName->setText("hanako");
  CancelMatchMenuWhenShown();
  frmMenu->btOk->click();
  EXPECT_TRUE(boxes.boxes().empty());
  EXPECT_FALSE(frmMenu->isVisible());
  EXPECT_TRUE(frmGamen->isVisible());
  EXPECT_FALSE(TheGame().NetPlay());
  EXPECT_EQ(frmGamen->windowTitle(), "Velmora");
  EXPECT_EQ(frmMenu->UserName, "hanako");
  ASSERT_TRUE(WaitUntil([&] { return programEnded; })) << "cancelling the match menu ends the program";
}

TEST_F(DialogTest, ArrowsWithOnePicture) {
  StartWithPictures(1);
  EXPECT_FALSE(frmMenu->btNext->isEnabled());
  EXPECT_FALSE(frmMenu->btPrev->isEnabled());
  EXPECT_FALSE(frmMenu->imChara->Picture().isNull());
}

TEST_F(DialogTest, ArrowsWithThreePictures) {
  StartWithPictures(3);
  ASSERT_EQ(frmMenu->CharaList.size(), 3);
  EXPECT_TRUE(frmMenu->btNext->isEnabled());
  EXPECT_FALSE(frmMenu->btPrev->isEnabled());
  frmMenu->btNext->click();
  EXPECT_TRUE(frmMenu->btNext->isEnabled());
  EXPECT_TRUE(frmMenu->btPrev->isEnabled());
  frmMenu->btNext->click();
  EXPECT_EQ(frmMenu->imChara->Tag, 2);
  EXPECT_FALSE(frmMenu->btNext->isEnabled());
  EXPECT_TRUE(frmMenu->btPrev->isEnabled());
  frmMenu->btPrev->click();
  frmMenu->btPrev->click();
  EXPECT_EQ(frmMenu->imChara->Tag, 0);
  EXPECT_FALSE(frmMenu->btPrev->isEnabled());
  EXPECT_TRUE(frmMenu->btNext->isEnabled());
}

TEST_F(DialogTest, CharaFileKeepsOnlyNamesShorterThanThirtyBytes) {
  const QString fits = QString(25, QLatin1Char('a')) + ".bmp";       // 29 bytes
  const QString tooLong = QString(26, QLatin1Char('b')) + ".bmp";    // 30 bytes
  const QString japanese = QStringLiteral("ねこねこねこねこねこねこね.bmp");  // 13 × 2 + 4 = 30 bytes
  AddPictures({fits, tooLong, japanese});
  Start();
  frmMenu->rgNet->Button(1)->click();
  frmMenu->edUserName->setText("taro");
  for (int i = 0; i < frmMenu->CharaList.size(); ++i) {
    const QString name = QFileInfo(frmMenu->CharaList[i]).fileName();
    frmMenu->imChara->Tag = i;
    // Only the settings step runs: the name check passes and the game screen is not wanted here.
    frmMenu->rgNet->SetItemIndex(0);
    frmMenu->edPortNo->clear();
    boxes.clear();
    frmMenu->btOk->click();  // refused at the port, after CharaFile was written
    ASSERT_EQ(boxes.boxes().size(), 1u);
    const QString stored = settings::TextOf(Record().CharaFile);
    if (name == fits) {
      EXPECT_EQ(stored, fits);
    } else {
      EXPECT_TRUE(stored.isEmpty()) << name.toStdString();
    }
  }
}

TEST_F(DialogTest, NoPictureStillLetsThePlayerIn) {
  Start();
  EXPECT_TRUE(frmMenu->CharaList.isEmpty());
  EXPECT_FALSE(frmMenu->btNext->isEnabled());
  EXPECT_FALSE(frmMenu->btPrev->isEnabled());
  settings::SetCharaFile(Record(), "old.bmp");
  frmMenu->rgNet->Button(1)->click();
  frmMenu->edUserName->setText("taro");
  CancelMatchMenuWhenShown();
  frmMenu->btOk->click();
  EXPECT_TRUE(frmGamen->isVisible());
  EXPECT_TRUE(settings::TextOf(Record().CharaFile).isEmpty());
  WaitUntil([&] { return programEnded; });
}

TEST_F(DialogTest, F1OpensTheHelpPageFromAnyControl) {
  StartWithPictures(1);
  PressKey(frmMenu->edUserName, Qt::Key_F1);
  PressKey(frmMenu->btOk, Qt::Key_F1);
  PressKey(frmMenu->edUserName, Qt::Key_A);
  EXPECT_EQ(helpPages, QStringList({exePath + "help/start.html", exePath + "help/start.html"}));
}

TEST_F(DialogTest, CancelEndsTheProgram) {
  StartWithPictures(1);
  frmMenu->btCancel->click();
  EXPECT_TRUE(programEnded);
}

TEST_F(DialogTest, AStartThatNeverShowedTheDialogLeavesVelmDatAlone) {
  const QByteArray saved(412, '\x05');
  ASSERT_TRUE(WriteFile(exePath + "velm.dat", saved));
  {
    auto empty = std::make_shared<platform::MemoryNeighbourhood>(platform::MemoryNeighbourhood::Level{});
    TProgramForms forms(exePath, empty);  // destroyed without the dialog ever being shown
  }
  EXPECT_EQ(ReadFile(exePath + "velm.dat"), saved);
}

TEST_F(DialogTest, TextOutsideCodePage932IsRefusedOrSentAsQuestionMarksNeverWrittenAsOtherBytes) {
  StartWithPictures(1);
  frmMenu->rgNet->Button(1)->click();
  TypeText(frmMenu->edUserName, QString(40, QChar(u'あ')));
  EXPECT_EQ(frmMenu->edUserName->text(), QString(15, QChar(u'あ'))) << "30 bytes while typing";

  frmMenu->edUserName->setText(QStringLiteral(u"ゲーマー😀"));
  frmMenu->btOk->click();
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0], (Box{"ユーザー名に使えない文字が含まれています", "Velmora"}));
  EXPECT_EQ(frmMenu->focusWidget(), frmMenu->edUserName);
  EXPECT_FALSE(frmGamen->isVisible());

  // A chat line goes out with "？" for each such character; what a Japanese input method
  // types ("〜") is kept.
  TNetRecord chat;
  chat.SetText(QStringLiteral(u"やあ😀〜한𠮷"));
  EXPECT_EQ(chat.Text(), QStringLiteral(u"やあ？～？？"));

  // Files get "？" too, never ICU's FC FC.
  frmMenu->edUserName->setText(QStringLiteral(u"ゲーマー"));
  frmMenu->edHostName->setText(QStringLiteral(u"ほすと😀"));
  OpenGameWithoutNetwork();
  frmGamen->reMessage->appendPlainText(QStringLiteral(u"No.1(花子):한국어😀"));
  frmGamen->close();
  Stop();
  EXPECT_EQ(ReadFile(exePath + "Chat.log"), platform::ToCp932(QStringLiteral(u"No.1(花子):？？？？\r\n")));
  EXPECT_EQ(ReadFile(exePath + "velm.dat").mid(28, 16), QByteArray("\x82\xD9\x82\xB7\x82\xC6\x81\x48", 8) + QByteArray(8, '\0'));
}

TEST_F(DialogTest, OnlyPlainFilesAreOpenedAndAFifoNeverHoldsUpTheStart) {
  AddPictures({"face.bmp"});
  const QStringList fifos = {exePath + "velm.dat", exePath + "x.bmp", exePath + "Chat.log"};
  for (const QString& fifo : fifos) ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
  ASSERT_TRUE(QDir().mkpath(exePath + "y.bmp"));
  FifoRescue rescue(fifos, std::chrono::seconds(10));

  Start();
  EXPECT_TRUE(frmMenu->isVisible());
  EXPECT_EQ(frmMenu->CharaList, QStringList{exePath + "face.bmp"});
  EXPECT_TRUE(boxes.boxes().empty()) << "a velm.dat that is no file is like none";
  frmMenu->edUserName->setText("taro");
  OpenGameWithoutNetwork();
  frmGamen->close();
  Stop();

  EXPECT_FALSE(rescue.Rescued()) << "something waited on a FIFO";
  EXPECT_EQ(QFileInfo(exePath + "velm.dat").size(), 412) << "written as if there had been none";
  EXPECT_TRUE(QFileInfo(exePath + "Chat.log").isFile());
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DialogTest, APictureThatIsNotAWholeBitmapIsNeverShown) {
  const QByteArray whole = ReadFile(QStringLiteral(VELM_CHARACTERS_DIR "/neko.bmp"));
  ASSERT_FALSE(whole.isEmpty());
  QByteArray unsized = whole.left(whole.size() - 200);
  unsized.replace(2, 4, QByteArray(4, '\0'));  // no file size in the header to go by
  const QByteArray cut = whole.left(whole.size() - 200);
  for (const auto& [name, bytes] : {std::pair{"a.bmp", cut}, {"b.bmp", whole}, {"c.bmp", unsized}})
    ASSERT_TRUE(WriteFile(exePath + name, bytes));
  Start();
  EXPECT_EQ(frmMenu->CharaList, QStringList{exePath + "b.bmp"}) << "the dialog offers only whole pictures";
  TImage face;
  EXPECT_FALSE(face.LoadFromFile(exePath + "a.bmp")) << "an engine's picture";
  EXPECT_TRUE(face.Picture().isNull());
  EXPECT_FALSE(PictureFromBytes(cut)) << "a face from another machine";
  EXPECT_FALSE(PictureFromBytes(unsized));
  EXPECT_TRUE(PictureFromBytes(whole));
}

TEST_F(DialogTest, F1WithoutAPageOrAProgramToShowItSaysSo) {
  StartWithPictures(1);
  ASSERT_TRUE(QFile::remove(exePath + kHelpStart));
  PressKey(frmMenu->edUserName, Qt::Key_F1);
  EXPECT_TRUE(helpPages.isEmpty());
  helpOpens = false;  // no program to show it
  ASSERT_TRUE(WriteFile(exePath + kHelpStart));
  PressKey(frmMenu->edUserName, Qt::Key_F1);
  EXPECT_EQ(boxes.boxes(), (std::vector<Box>(2, Box{"ヘルプを開けません", "Velmora"})));
}

TEST_F(DialogTest, FileErrorsAreToldInJapaneseWithTheFileName) {
  ASSERT_TRUE(QDir().mkpath(exePath + "velm.dat/in"));
  ASSERT_TRUE(QDir().mkpath(exePath + "Chat.log/in"));
  StartWithPictures(1);
  frmMenu->edUserName->setText("taro");
  OpenGameWithoutNetwork();
  frmGamen->close();
  Stop();
  ASSERT_EQ(boxes.boxes().size(), 2u);
  const QString files[] = {"Chat.log", "velm.dat"};
  for (int i = 0; i < 2; ++i) {
    const Box& box = boxes.boxes()[static_cast<std::size_t>(i)];
    EXPECT_EQ(box.caption, "Velmora");
    EXPECT_TRUE(box.text.startsWith("「" + exePath + files[i] + "」を保存できません")) << box.text.toStdString();
    // Whatever the system adds stays in brackets after the Japanese.
    EXPECT_TRUE(box.text.endsWith("）")) << box.text.toStdString();
  }
}

TEST_F(DialogTest, AFirstStartOffersTheLoginNameWhenOthersCanBeToldIt) {
  AddPictures({"face.bmp"});
  const struct {
    QString login;
    QString offered;
  } cases[] = {
      {"hanako", "hanako"},
      {QString(40, QChar(u'x')), QString(30, QChar(u'x'))},
      {QStringLiteral(u"ゆうき"), QStringLiteral(u"ゆうき")},
      {QStringLiteral(u"지민"), QString()},
  };
  for (const auto& c : cases) {
    login = c.login;
    Start();
    EXPECT_EQ(frmMenu->edUserName->text(), c.offered) << c.login.toStdString();
    Stop();
    QFile::remove(exePath + "velm.dat");
  }
  // A name saved before is what the box holds, and the saved choice of network holds too.
  Start();
  frmMenu->edUserName->setText("taro");
  frmMenu->rgNet->Button(0)->click();
  Stop();
  Start();
  EXPECT_EQ(frmMenu->edUserName->text(), "taro");
  EXPECT_EQ(frmMenu->rgNet->ItemIndex(), 0);
}
