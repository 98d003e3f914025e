#include "FakeDialog.h"
#include "platform/FolderLock.h"
#include "settings/SaveFile.h"
#include "tests/support/Files.h"
#include "tests/support/MessageRecorder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <limits>
#include <memory>
#include <random>

using namespace settings;

namespace {

// Mask1 from the first number, Mask2 from the second.
MaskRandom masks(std::uint32_t m1, std::uint32_t m2) {
  auto calls = std::make_shared<int>(0);
  return [=] { return (*calls)++ % 2 == 0 ? m1 : m2; };
}

class SaveFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("velm.dat"));
  MessageRecorder messages;
  SaveRecord record;
  FakeDialog dialog;

  QByteArray fileBytes() const { return ReadFile(path); }
  void setFile(const QByteArray& bytes) { ASSERT_TRUE(WriteFile(path, bytes)); }
  // Loads into a fresh record and dialog.
  LoadOutcome load() {
    record = SaveRecord{};
    dialog = FakeDialog{};
    return LoadSaveFile(path, record, dialog, messages.dialogs()).outcome;
  }
  // A file written at program end after some play, with the given masks.
  void writeSample(std::uint32_t m1 = 10, std::uint32_t m2 = 50) {
    record.Reset();
    record.SouNum = 12;
    record.SouWin = 7;
    record.GamenWidth = 502;
    record.PeapleWidth = 125;
    dialog.user = QStringLiteral("たろう");
    dialog.port = QStringLiteral("8080");
    ASSERT_TRUE(WriteSaveFile(path, record, dialog, masks(m1, m2)).ok);
  }
  void bump(qsizetype offset) {
    QByteArray b = fileBytes();
    ++b[offset];
    setFile(b);
  }
};

TEST_F(SaveFileTest, MissingFileResetsSilentlyAndWritesNothing) {
  record.SouNum = 9;
  EXPECT_EQ(LoadOutcome::Missing, LoadSaveFile(path, record, dialog, messages.dialogs()).outcome);
  EXPECT_EQ(1.0, record.Version);
  EXPECT_EQ(0, record.SouNum);
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_TRUE(messages.boxes().empty());
  EXPECT_EQ(0, dialog.netItem);
}

TEST_F(SaveFileTest, HandEditedCounterMaskOrChecksumResetsWithMessageAndResetFile) {
  const QByteArray resetFile = QByteArray(6, '\0') + "\xF0\x3F" + QByteArray(404, '\0');
  for (qsizetype offset : {108, 152, 8, 12, 16}) {
    writeSample();
    bump(offset);
    messages.clear();
    EXPECT_EQ(LoadOutcome::Tampered, load()) << "offset " << offset;
    ASSERT_EQ(1u, messages.boxes().size());
    EXPECT_EQ(QStringLiteral("データが不正に書き換えられているためデータが初期値に戻りました"), messages.boxes()[0].text);
    EXPECT_EQ(QStringLiteral("Velmora"), messages.boxes()[0].caption);
    EXPECT_EQ(0, record.SouNum);
    EXPECT_EQ(QStringLiteral("たろう"), dialog.user);  // the bad file's settings stay on screen
    EXPECT_EQ(resetFile, fileBytes());
  }
  EXPECT_EQ(LoadOutcome::Restored, load());  // the reset file passes
}

TEST_F(SaveFileTest, TextsFlagsVersionAndReservedAreOutsideTheCheckAndKept) {
  writeSample();
  QByteArray b = fileBytes();
  b.replace(48, 4, "Bob\0", 4);
  b[20] = b[24] = 0;             // NetConnect, Oya
  b[6] = 0, b[7] = 0x40;         // Version 2.0
  b[300] = 'r';                  // Reserved
  setFile(b);
  ASSERT_EQ(LoadOutcome::Restored, load());
  EXPECT_EQ(QStringLiteral("Bob"), dialog.user);
  EXPECT_EQ(1, dialog.netItem);
  EXPECT_FALSE(dialog.oya);
  EXPECT_EQ(2.0, record.Version);
  EXPECT_EQ(7, record.SouWin);
  ASSERT_TRUE(WriteSaveFile(path, record, dialog).ok);
  EXPECT_EQ('r', fileBytes()[300]);
}

TEST_F(SaveFileTest, ZeroMasksStoreCountersAndChecksumPlain) {
  writeSample(0, 0);
  const QByteArray b = fileBytes();
  EXPECT_EQ(12, b[108]);
  EXPECT_EQ(QByteArray("\xF6\x01\0\0", 4), b.mid(140, 4));  // GamenWidth 502
  EXPECT_EQ(QByteArray("\x16\x22\0\0", 4), b.mid(16, 4));  // checksum 8080 + 12 + 7 + 502 + 125
}

TEST_F(SaveFileTest, ShortFilesReadAsFarAsTheyGo) {
  setFile({});
  EXPECT_EQ(LoadOutcome::Restored, load());
  EXPECT_EQ(1, dialog.netItem);
  EXPECT_FALSE(dialog.oya);
  EXPECT_TRUE(dialog.port.isEmpty());
  EXPECT_EQ(0.0, record.Version);

  writeSample();
  const QByteArray whole = fileBytes();
  setFile(whole.left(100));
  EXPECT_EQ(LoadOutcome::Tampered, load());
  setFile(whole.left(156));
  EXPECT_EQ(LoadOutcome::Restored, load());
  EXPECT_EQ(125, record.PeapleWidth);
  setFile(whole + QByteArray(50, 'x'));
  EXPECT_EQ(LoadOutcome::Restored, load());
  ASSERT_TRUE(WriteSaveFile(path, record, dialog).ok);
  EXPECT_EQ(412, fileBytes().size());
}

TEST_F(SaveFileTest, SavedCharacterIsTheFirstPathHoldingItElseTheLast) {
  const QStringList three = {"/g/x.bmp", "/g/y.bmp", "/g/z.bmp"};
  const struct {
    QStringList list;
    QString saved;
    int tag;
  } cases[] = {
      {{"/g/a.bmp"}, "zz.bmp", 0},   {three, "y.bmp", 1},     {three, "gone.bmp", 2},
      {three, "Y.bmp", 2},           {three, "", 0},          {{}, "a.bmp", 0},
      {{"/g/ba.bmp", "/g/a.bmp", "/g/c.bmp"}, "a.bmp", 0},  // a tail of an earlier path
      {{"/g/犬.bmp", "/g/猫.bmp", "/g/鳥.bmp"}, "猫.bmp", 1},
  };
  for (const auto& c : cases) {
    SaveRecord r;
    SetCharaFile(r, c.saved);
    FakeDialog d;
    d.charaList = c.list;
    EXPECT_EQ(0, RestoreSettings(r, d));
    EXPECT_EQ(c.tag, d.charaTag) << c.saved.toStdString() << " in " << c.list.join(',').toStdString();
  }
}

TEST_F(SaveFileTest, NonNumericPortIsStoredAsZeroAndShownEmpty) {
  record.Reset();
  dialog.port = QStringLiteral("abc");
  ASSERT_TRUE(WriteSaveFile(path, record, dialog).ok);
  EXPECT_EQ(0, record.PortNo);
  ASSERT_EQ(LoadOutcome::Restored, load());
  EXPECT_TRUE(dialog.port.isEmpty());
}

TEST_F(SaveFileTest, RoundTripWithRandomMasksKeepsEverything) {
  constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min(), hi = std::numeric_limits<std::int32_t>::max();
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<std::int32_t> any(lo, hi);
    SaveRecord r;
    r.Reset();
    for (std::int32_t* f : {&r.SouNum, &r.SouWin, &r.SouLose, &r.NetNum, &r.NetWin, &r.NetLose, &r.GamenLeft,
                            &r.GamenTop, &r.GamenWidth, &r.GamenHeight, &r.BoardWidth, &r.PeapleWidth})
      *f = seed % 4 == 0 ? (gen() % 2 ? lo : hi) : any(gen);
    SetCharaFile(r, QStringLiteral("face.bmp"));
    r.Reserved[seed % 256] = static_cast<char>(seed);
    FakeDialog d;
    d.netItem = static_cast<int>(seed % 2);
    d.oya = seed % 3 == 0;
    d.host = QStringLiteral("ほすと%1").arg(seed);
    d.port = QString::number(any(gen));
    d.user = QStringLiteral("ユーザー%1").arg(seed);
    const std::int32_t souNum = r.SouNum;

    auto engine = std::make_shared<std::mt19937>(seed * 7919u);
    ASSERT_TRUE(WriteSaveFile(path, r, d, [engine] { return static_cast<std::uint32_t>((*engine)()); }).ok);
    ASSERT_TRUE(r.Mask1 >= 0 && r.Mask1 < 100 && r.Mask2 >= 0 && r.Mask2 < 200);
    EXPECT_EQ(souNum, r.SouNum);  // memory stays plain

    ASSERT_EQ(LoadOutcome::Restored, load()) << "seed " << seed;
    EXPECT_EQ(r, record) << "seed " << seed;
    EXPECT_TRUE(d.netItem == dialog.netItem && d.oya == dialog.oya && d.host == dialog.host &&
                d.port == dialog.port && d.user == dialog.user)
        << "seed " << seed;
  }
}

TEST_F(SaveFileTest, FailedWriteOnAFullDiskLeavesTheOldFileWhole) {
  writeSample();
  const QByteArray old = fileBytes();
  record.SouNum = 99;

  struct sigaction ignore {}, previous {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit full = saved;
  full.rlim_cur = 100;  // writes past 100 bytes fail as on a full disk
  setrlimit(RLIMIT_FSIZE, &full);
  const FileResult res = WriteSaveFile(path, record, dialog);
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);

  EXPECT_FALSE(res.ok);
  EXPECT_FALSE(res.error.isEmpty());
  EXPECT_EQ(old, fileBytes());
  EXPECT_EQ(QStringList{"velm.dat"}, QDir(dir.path()).entryList(QDir::Files | QDir::Hidden));  // no temp left
}

TEST_F(SaveFileTest, FolderInTheFilesPlaceIsLikeNoFileAndIsNotReplaced) {
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("velm.dat/inner")));
  record.SouNum = 4;
  const LoadResult res = LoadSaveFile(path, record, dialog, messages.dialogs());
  EXPECT_EQ(LoadOutcome::Missing, res.outcome);
  EXPECT_TRUE(res.file.ok);
  EXPECT_EQ(0, record.SouNum);
  EXPECT_FALSE(WriteSaveFile(path, record, dialog).ok);
  EXPECT_TRUE(QDir(path + QStringLiteral("/inner")).exists());
  EXPECT_EQ(QStringList{"velm.dat"}, QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

}  // namespace

TEST_F(SaveFileTest, WhatAnInterruptedSaveLeftIsRemovedOnceItIsAMinuteOld) {
  const auto leave = [&](const QString& name, int ageSeconds) { ASSERT_TRUE(WriteFile(dir.filePath(name), "x", ageSeconds)); };
  leave("velm.dat.a1B2c3", 120);   // a save killed two minutes ago
  leave("velm.dat.Z9y8X7", 5);     // another copy saving right now
  leave("velm.dat.bak", 120);      // not the form of ours
  leave("velm.dat.abcdefg", 120);
  leave("xvelm.dat.a1B2c3", 120);
  load();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
            QStringList({"velm.dat.Z9y8X7", "velm.dat.abcdefg", "velm.dat.bak", "xvelm.dat.a1B2c3"}));
}

TEST_F(SaveFileTest, CopiesSavingAtOnceLoseNoGameAndTheLastKeepsItsSettings) {
  writeSample();  // 12 games, 7 won
  QProcess one, two;
  const auto startCopy = [&](QProcess& copy, const char* games, const char* name) {
    copy.start(QStringLiteral(VELM_SAVING_COPY), {path, games, name});
    ASSERT_TRUE(copy.waitForStarted(30000));
  };
  const auto says = [](QProcess& copy, const QByteArray& word) {
    while (!copy.canReadLine() && copy.waitForReadyRead(30000)) {
    }
    return copy.readLine().trimmed() == word;
  };
  startCopy(one, "1", "one");
  startCopy(two, "2", "two");
  ASSERT_TRUE(says(one, "read"));
  ASSERT_TRUE(says(two, "read"));
  {
    // Both are told to save while the folder is locked; meanwhile a third copy saves 8 more games.
    const platform::FolderLock lock(dir.path());
    one.write("\n");
    two.write("\n");
    ASSERT_TRUE(one.waitForBytesWritten(30000) && two.waitForBytesWritten(30000));
    ASSERT_EQ(LoadOutcome::Restored, load());
    record.SouNum += 8;
    ASSERT_TRUE(WriteSaveFile(path, record, dialog).ok);
  }
  EXPECT_TRUE(says(one, "saved"));
  EXPECT_TRUE(says(two, "saved"));
  ASSERT_TRUE(one.waitForFinished(30000) && two.waitForFinished(30000));

  ASSERT_EQ(LoadOutcome::Restored, load());
  EXPECT_EQ(12 + 8 + 1 + 2, record.SouNum);
  EXPECT_EQ(7 + 1 + 2, record.SouWin);
  // Geometry and texts come whole from whichever copy saved last.
  EXPECT_TRUE((record.GamenWidth == 501 && dialog.user == "one") || (record.GamenWidth == 502 && dialog.user == "two"))
      << record.GamenWidth << " " << dialog.user.toStdString();
}
