#include <gtest/gtest.h>

#include "gamelog/GgfFormat.h"
#include "tests/gamelog/GameFixtures.h"

using namespace gamelog;

namespace {

std::vector<int> PassIndexes(const std::vector<Move>& moves) {
  std::vector<int> at;
  for (std::size_t i = 0; i < moves.size(); ++i)
    if (moves[i].IsPass()) at.push_back(static_cast<int>(i));
  return at;
}

TEST(RecordFormat, AWholeGameWithPassesComesBackFromItsFile) {
  const QString transcript = QString::fromLatin1(TestData("two_passes.txt"));
  const GameRecord game = GameOf(transcript, QStringLiteral("ア]マ\\"), PlayerKind::Local, QStringLiteral("ヨザクラ"),
                                 PlayerKind::Cpu, QStringLiteral("2026-12-08T17:44:05"));
  ASSERT_EQ(game.moves.size(), 62u);
  EXPECT_EQ(PassIndexes(game.moves), (std::vector<int>{56, 60}));
  EXPECT_EQ(FormatTranscript(game.moves), transcript);

  const QByteArray file = WriteGgf(game);
  EXPECT_TRUE(file.contains("XT[" + transcript.toLatin1() + "]"));
  EXPECT_TRUE(file.contains("RE[0.000]"));
  EXPECT_TRUE(file.contains("B[PA]"));
  QString why;
  const auto back = ReadGgf(file, &why);
  ASSERT_TRUE(back) << why.toStdString();
  EXPECT_EQ(back->moves, game.moves);
  EXPECT_EQ(back->first.name, game.first.name);
  EXPECT_EQ(back->second.kind, PlayerKind::Cpu);
  EXPECT_EQ(back->started, game.started);
  EXPECT_TRUE(back->finished);
  EXPECT_EQ(back->Final().Count(1), 32);

  GameRecord left = game;
  left.moves.resize(10);
  left.finished = false;
  const auto leftBack = ReadGgf(WriteGgf(left));
  ASSERT_TRUE(leftBack);
  EXPECT_FALSE(leftBack->finished);
  EXPECT_EQ(leftBack->moves.size(), 10u);
}

TEST(RecordFormat, ReadsOtherProgramsGamesAndRefusesWhatIsNotAGame) {
  const auto foreign = ReadGgf(TestData("foreign.ggf"));
  ASSERT_TRUE(foreign);
  EXPECT_EQ(FormatTranscript(foreign->moves), QStringLiteral("f5d6c3"));
  EXPECT_EQ(foreign->first.name, QStringLiteral("alpha"));
  EXPECT_EQ(foreign->started.toSecsSinceEpoch(), 1700000000);
  EXPECT_TRUE(foreign->finished);  // resigned

  QByteArray illegal = TestData("foreign.ggf");
  illegal.replace("B[c3]", "B[a1]");
  QString why;
  EXPECT_FALSE(ReadGgf(illegal, &why));
  EXPECT_EQ(why, QStringLiteral("3手目は打てない手です"));
  for (const char* text : {"", "(;GM[Chess]B[e4];)", "(;GM[Othello]B[f5]", "(;GM[Othello]BO[8 ***];)", "\xff\xfe(;"})
    EXPECT_FALSE(ReadGgf(QByteArray(text))) << text;
}

TEST(RecordFormat, TranscriptsFillInPassesAndNameTheFirstBadMove) {
  const QString transcript = QString::fromLatin1(TestData("two_passes.txt"));
  QString written = transcript;
  written.replace(QStringLiteral("g4c8"), QStringLiteral("g4 PASS c8")).replace(QStringLiteral("h6h8"), QStringLiteral("h6 pa h8"));
  EXPECT_EQ(ParseTranscript(written), ParseTranscript(transcript));
  EXPECT_FALSE(ParseTranscript(u"f5 pass"));  // a side with a placement may not pass
  TranscriptError error;
  EXPECT_FALSE(ParseTranscript(u"f5d6c3a1", Position::Standard(), &error));
  EXPECT_EQ(error.moveNumber, 4);
  EXPECT_EQ(error.token, QStringLiteral("a1"));
  EXPECT_FALSE(ParseTranscript(u"hello", Position::Standard(), &error));
  EXPECT_EQ(error.moveNumber, 0);
  const auto spaced = ParseTranscript(u"1. f5 d6 2. c3");
  EXPECT_FALSE(spaced);  // move numbers are not part of a transcript
  EXPECT_EQ(FormatTranscript(*ParseTranscript(u"F5 d6, c3")), QStringLiteral("f5d6c3"));
}

}  // namespace
