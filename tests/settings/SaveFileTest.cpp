#include "FakeDialog.h"
#include "settings/SaveFile.h"
#include "tests/support/MessageRecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

using namespace settings;

namespace {

const QString kTampered = QStringLiteral("データが不正に書き換えられているためデータが初期値に戻りました");

// Hands out the given numbers in turn (for the masks: Mask1 first, then Mask2).
MaskRandom sequence(std::vector<std::uint32_t> values) {
  auto i = std::make_shared<std::size_t>(0);
  return [values, i] { return values[(*i)++ % values.size()]; };
}

class SaveFileTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("velm.dat"));
  MessageRecorder messages;

  QByteArray fileBytes() const {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
  }
  void writeBytes(const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(bytes.size(), f.write(bytes));
  }
  static QByteArray resetImage() {
    SaveRecord r;
    r.Reset();
    const auto image = r.ToImage();
    return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
  }

  // A file written by the program with some play recorded, masks 10 and 50.
  SaveRecord writeSample(std::vector<std::uint32_t> masks = {10, 50}) {
    SaveRecord r;
    r.Reset();
    r.SouNum = 12;
    r.SouWin = 7;
    r.SouLose = 4;
    r.NetNum = 3;
    r.GamenLeft = 40;
    r.GamenTop = 30;
    r.GamenWidth = 502;
    r.GamenHeight = 371;
    r.BoardWidth = 251;
    r.PeapleWidth = 125;
    FakeDialog d;
    d.user = QStringLiteral("たろう");
    d.port = QStringLiteral("8080");
    d.host = QStringLiteral("server");
    EXPECT_TRUE(WriteSaveFile(path, r, d, sequence(std::move(masks))).ok);
    return r;
  }
  void patchInt(qsizetype offset, std::int32_t delta) {
    QByteArray b = fileBytes();
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[offset + i])) << (8 * i);
    v += static_cast<std::uint32_t>(delta);
    for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<char>(v >> (8 * i));
    writeBytes(b);
  }
};

TEST_F(SaveFileTest, MissingFileResetsSilentlyAndWritesNothing) {
  SaveRecord r;
  r.SouNum = 9;
  FakeDialog d;
  EXPECT_EQ(LoadOutcome::Missing, LoadSaveFile(path, r, d).outcome);
  EXPECT_EQ(1.0, r.Version);
  EXPECT_EQ(0, r.SouNum);
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_TRUE(messages.boxes().empty());
  EXPECT_EQ(0, d.netItem);  // design defaults stay
  EXPECT_TRUE(d.oya);
}

TEST_F(SaveFileTest, TamperedFileIsResetReportedAndRewrittenAsTheResetImage) {
  writeSample();
  patchInt(112, 1);  // SouWin by hand
  SaveRecord r;
  FakeDialog d;
  const LoadResult res = LoadSaveFile(path, r, d);
  EXPECT_EQ(LoadOutcome::Tampered, res.outcome);
  EXPECT_TRUE(res.file.ok);
  ASSERT_EQ(1u, messages.boxes().size());
  EXPECT_EQ(kTampered, messages.boxes()[0].text);
  EXPECT_EQ(QStringLiteral("Velmora"), messages.boxes()[0].caption);
  SaveRecord reset;
  reset.Reset();
  EXPECT_EQ(reset, r);
  EXPECT_EQ(resetImage(), fileBytes());
  // The settings read from the bad file stay on screen.
  EXPECT_EQ(QStringLiteral("たろう"), d.user);
  EXPECT_EQ(QStringLiteral("8080"), d.port);

  // The reset file passes the check at the next start.
  messages.clear();
  SaveRecord again;
  FakeDialog d2;
  EXPECT_EQ(LoadOutcome::Restored, LoadSaveFile(path, again, d2).outcome);
  EXPECT_TRUE(messages.boxes().empty());
  EXPECT_EQ(reset, again);
}

TEST_F(SaveFileTest, HandEditedMaskOrChecksumFailsTheCheck) {
  for (qsizetype offset : {8, 12, 16, 108, 152}) {
    writeSample();
    patchInt(offset, 1);
    SaveRecord r;
    FakeDialog d;
    EXPECT_EQ(LoadOutcome::Tampered, LoadSaveFile(path, r, d).outcome) << "offset " << offset;
  }
}

TEST_F(SaveFileTest, TextsFlagsVersionAndReservedAreOutsideTheCheck) {
  writeSample();
  QByteArray b = fileBytes();
  b.replace(48, 5, "Bob\0\0", 5);  // UserName
  b[20] = 0;                       // NetConnect
  b[24] = 0;                       // Oya
  b[6] = 0;
  b[7] = 0x40;                     // Version 2.0
  b[300] = 'r';                    // Reserved
  writeBytes(b);
  SaveRecord r;
  FakeDialog d;
  EXPECT_EQ(LoadOutcome::Restored, LoadSaveFile(path, r, d).outcome);
  EXPECT_EQ(QStringLiteral("Bob"), d.user);
  EXPECT_EQ(1, d.netItem);
  EXPECT_FALSE(d.oya);
  EXPECT_EQ(2.0, r.Version);
  EXPECT_EQ('r', r.Reserved[144]);
  EXPECT_EQ(7, r.SouWin);
  // Reserved is written back as found.
  ASSERT_TRUE(WriteSaveFile(path, r, d).ok);
  EXPECT_EQ('r', fileBytes()[300]);
}

TEST_F(SaveFileTest, ZeroMasksLeaveCountersPlainInTheFile) {
  writeSample({0, 0});
  const QByteArray b = fileBytes();
  EXPECT_EQ(12, static_cast<std::uint8_t>(b[108]));
  EXPECT_EQ(0x01F6, static_cast<std::uint8_t>(b[140]) | static_cast<std::uint8_t>(b[141]) << 8);  // 502
  EXPECT_EQ(0, b[8]);
  EXPECT_EQ(0, b[12]);
}

TEST_F(SaveFileTest, EmptyFilePassesAndSelectsNoNetworkAndNoHost) {
  writeBytes({});
  SaveRecord r;
  r.SouNum = 3;
  FakeDialog d;
  d.user = QStringLiteral("old");
  EXPECT_EQ(LoadOutcome::Restored, LoadSaveFile(path, r, d).outcome);
  EXPECT_TRUE(messages.boxes().empty());
  EXPECT_EQ(1, d.netItem);
  EXPECT_FALSE(d.oya);
  EXPECT_TRUE(d.user.isEmpty());
  EXPECT_TRUE(d.port.isEmpty());
  EXPECT_EQ(0.0, r.Version);
  EXPECT_EQ(0, r.SouNum);
  EXPECT_EQ(0, r.GamenWidth);
}

TEST_F(SaveFileTest, FileCutBeforeTheCountersIsResetButOneHoldingThemPasses) {
  writeSample();
  const QByteArray whole = fileBytes();
  writeBytes(whole.left(100));
  SaveRecord r;
  FakeDialog d;
  EXPECT_EQ(LoadOutcome::Tampered, LoadSaveFile(path, r, d).outcome);

  QByteArray upToReserved = whole.left(156);
  writeBytes(upToReserved);
  messages.clear();
  SaveRecord r2;
  FakeDialog d2;
  EXPECT_EQ(LoadOutcome::Restored, LoadSaveFile(path, r2, d2).outcome);
  EXPECT_EQ(12, r2.SouNum);
  EXPECT_EQ(125, r2.PeapleWidth);

  writeBytes(whole + QByteArray(50, '\x7F'));
  SaveRecord r3;
  FakeDialog d3;
  EXPECT_EQ(LoadOutcome::Restored, LoadSaveFile(path, r3, d3).outcome);
  EXPECT_EQ(r2, r3);
}

TEST_F(SaveFileTest, SavedCharacterIsTheFirstPathHoldingItOrTheLast) {
  struct Case {
    QStringList list;
    const char* saved;
    int tag;
  };
  const QString f = QStringLiteral("/game/");
  const std::vector<Case> cases = {
      {{f + "a.bmp"}, "zz.bmp", 0},
      {{f + "a.bmp"}, "a.bmp", 0},
      {{f + "x.bmp", f + "y.bmp", f + "z.bmp"}, "y.bmp", 1},
      {{f + "x.bmp", f + "y.bmp", f + "z.bmp"}, "z.bmp", 2},
      {{f + "x.bmp", f + "y.bmp", f + "z.bmp"}, "gone.bmp", 2},
      {{f + "x.bmp", f + "y.bmp", f + "z.bmp"}, "Y.bmp", 2},  // case counts
      {{f + "ba.bmp", f + "a.bmp", f + "c.bmp"}, "a.bmp", 0},  // a tail of an earlier path
      {{f + "x.bmp", f + "y.bmp", f + "z.bmp"}, "", 0},        // nothing saved: no move
      {{}, "a.bmp", 0},                                        // no pictures at all
  };
  for (const Case& c : cases) {
    SaveRecord r;
    SetCharaFile(r, QString::fromLatin1(c.saved));
    r.Checksum = 0;
    FakeDialog d;
    d.charaList = c.list;
    EXPECT_EQ(0, RestoreSettings(r, d));
    EXPECT_EQ(c.tag, d.charaTag) << c.saved << " in " << c.list.join(',').toStdString();
  }
}

TEST_F(SaveFileTest, JapaneseCharacterNameMatchesByteExact) {
  SaveRecord r;
  SetCharaFile(r, QStringLiteral("猫.bmp"));
  FakeDialog d;
  d.charaList = {QStringLiteral("/g/犬.bmp"), QStringLiteral("/g/猫.bmp"), QStringLiteral("/g/鳥.bmp")};
  RestoreSettings(r, d);
  EXPECT_EQ(1, d.charaTag);
}

TEST_F(SaveFileTest, PortTextIsStoredAsNumberOrZero) {
  SaveRecord r;
  r.Reset();
  FakeDialog d;
  d.port = QStringLiteral("abc");
  ASSERT_TRUE(WriteSaveFile(path, r, d).ok);
  EXPECT_EQ(0, r.PortNo);
  FakeDialog loaded;
  loaded.port = QStringLiteral("stale");
  SaveRecord r2;
  EXPECT_EQ(LoadOutcome::Restored, LoadSaveFile(path, r2, loaded).outcome);
  EXPECT_TRUE(loaded.port.isEmpty());

  d.port = QStringLiteral(" $1F90");
  ASSERT_TRUE(WriteSaveFile(path, r, d).ok);
  EXPECT_EQ(8080, r.PortNo);
  EXPECT_EQ(LoadOutcome::Restored, LoadSaveFile(path, r2, loaded).outcome);
  EXPECT_EQ(QStringLiteral("8080"), loaded.port);
}

TEST_F(SaveFileTest, RoundTripWithRandomMasksKeepsEverything) {
  const std::int32_t lo = std::numeric_limits<std::int32_t>::min();
  const std::int32_t hi = std::numeric_limits<std::int32_t>::max();
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
    const SaveRecord before = r;

    auto engine = std::make_shared<std::mt19937>(seed * 7919u);
    ASSERT_TRUE(WriteSaveFile(path, r, d, [engine] { return static_cast<std::uint32_t>((*engine)()); }).ok);
    ASSERT_GE(r.Mask1, 0);
    ASSERT_LT(r.Mask1, 100);
    ASSERT_GE(r.Mask2, 0);
    ASSERT_LT(r.Mask2, 200);
    EXPECT_EQ(before.SouNum, r.SouNum) << "memory stays plain";
    ASSERT_EQ(412, fileBytes().size());

    SaveRecord back;
    FakeDialog shown;
    ASSERT_EQ(LoadOutcome::Restored, LoadSaveFile(path, back, shown).outcome) << "seed " << seed;
    EXPECT_EQ(r, back) << "seed " << seed;
    EXPECT_EQ(d.netItem, shown.netItem);
    EXPECT_EQ(d.oya, shown.oya);
    EXPECT_EQ(d.host, shown.host);
    EXPECT_EQ(d.port, shown.port);
    EXPECT_EQ(d.user, shown.user);
  }
  EXPECT_TRUE(messages.boxes().empty());
}

TEST_F(SaveFileTest, FailedWriteLeavesTheOldFileWhole) {
  writeSample();
  const QByteArray old = fileBytes();
  SaveRecord r;
  r.Reset();
  r.SouNum = 99;
  FakeDialog d;

  // A full disk: writes past 100 bytes fail.
  struct sigaction ignore {}, previous {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 100;
  setrlimit(RLIMIT_FSIZE, &small);
  const FileResult res = WriteSaveFile(path, r, d);
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);

  EXPECT_FALSE(res.ok);
  EXPECT_FALSE(res.error.isEmpty());
  EXPECT_EQ(old, fileBytes());
  EXPECT_EQ(QStringList{QStringLiteral("velm.dat")}, QDir(dir.path()).entryList(QDir::Files | QDir::Hidden));
}

TEST_F(SaveFileTest, DirectoryInTheFilesPlaceIsNeitherReadNorReplaced) {
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("velm.dat/inner")));
  SaveRecord r;
  r.SouNum = 4;
  FakeDialog d;
  const LoadResult load = LoadSaveFile(path, r, d);
  EXPECT_EQ(LoadOutcome::Unreadable, load.outcome);
  EXPECT_FALSE(load.file.ok);
  EXPECT_EQ(0, r.SouNum);
  EXPECT_TRUE(messages.boxes().empty());

  EXPECT_FALSE(WriteSaveFile(path, r, d).ok);
  EXPECT_TRUE(QDir(path + QStringLiteral("/inner")).exists());
  EXPECT_EQ(QStringList{QStringLiteral("velm.dat")},
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

TEST_F(SaveFileTest, WriteReplacesALongerFileWithExactly412Bytes) {
  writeBytes(QByteArray(1000, 'x'));
  SaveRecord r;
  r.Reset();
  FakeDialog d;
  ASSERT_TRUE(WriteSaveFile(path, r, d).ok);
  EXPECT_EQ(412, fileBytes().size());
}

}  // namespace
