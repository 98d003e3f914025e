// velmora-review: the review of one game from the command line, for people who study games.
// Reads a game file (GGF) or a transcript, judges every move with the program's strongest
// engine, and prints one line per move, or JSON.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "gamelog/GgfFormat.h"
#include "gamelog/Transcript.h"
#include "review/RecordReview.h"
#include "review/ReviewReport.h"

namespace {

constexpr char kHelp[] =
    "Usage: velmora-review [--json | --stream] [--seconds S] [FILE]\n"
    "\n"
    "Reviews one Othello game: for every move, what it was worth and what the best move was.\n"
    "The game is read from FILE, or from standard input when no FILE is given: a game file in\n"
    "the Generic Game Format (what Velmora keeps in its game log), or a transcript such as\n"
    "f5d6c3d3c4 (columns a-h from the left, rows 1-8 from the top, black moves first; passes\n"
    "may be left out).\n"
    "\n"
    "Values are final disc differences for black (the first player) under best play, from the\n"
    "position before the move: the value after the move played, and after the best move. From\n"
    "20 empty squares on they are proven by an exact solver; before that they are estimates of\n"
    "a search that looks as deep as about S seconds allow per position (default 0.8).\n"
    "\n"
    "Output, one line per move: number, side (1 black, 2 white), move, value, best move, best\n"
    "value, and 'exact' or 'estimate'.\n"
    "  --json     one JSON array of objects with the keys n, side, move (\"f5\" or \"pass\"),\n"
    "             value, best, best_value and exact (true when the values are proven)\n"
    "  --stream   the same objects, one per line, each as soon as it is known (the exact end\n"
    "             of the game first, from the last move back, then the rest in order)\n"
    "  --seconds S  time for each middle-game position\n"
    "  -h, --help   this text\n"
    "\n"
    "Exit status: 0 when the game was reviewed, 2 when it could not be read.\n";

int Refuse(const std::string& why) {
  std::fprintf(stderr, "velmora-review: %s\n", why.c_str());
  return 2;
}

std::optional<gamelog::GameRecord> ReadGame(const QByteArray& text, std::string& why) {
  if (text.contains("(;")) {
    QString reason;
    auto game = gamelog::ReadGgf(text, &reason);
    if (!game) why = "not a game: " + reason.toStdString();
    return game;
  }
  gamelog::TranscriptError error;
  const auto moves = gamelog::ParseTranscript(QString::fromUtf8(text), gamelog::Position::Standard(), &error);
  if (!moves) {
    why = error.moveNumber == 0 ? "neither a game file nor a transcript"
                                : "move " + std::to_string(error.moveNumber) + " (" + error.token.toStdString() +
                                      ") is not a legal move";
    return std::nullopt;
  }
  gamelog::GameRecord game;
  game.moves = *moves;
  return game;
}

}  // namespace

int main(int argc, char** argv) {
  enum class Output { Text, Json, Stream } output = Output::Text;
  review::AnalysisOptions options;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kHelp, stdout);
      return 0;
    } else if (arg == "--json") {
      output = Output::Json;
    } else if (arg == "--stream") {
      output = Output::Stream;
    } else if (arg == "--seconds" && i + 1 < argc) {
      char* end = nullptr;
      const double seconds = std::strtod(argv[++i], &end);
      if (*end || !(seconds > 0 && seconds <= 600)) return Refuse("--seconds takes a number of seconds up to 600");
      options.perPosition = std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    } else if (!arg.empty() && arg[0] != '-' && !path) {
      path = argv[i];
    } else {
      return Refuse("unknown argument '" + arg + "' (see --help)");
    }
  }

  QByteArray text;
  if (path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) return Refuse(std::string(path) + ": " + file.errorString().toStdString());
    text = file.read(1 << 20);
  } else {
    const std::string in{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    text = QByteArray::fromStdString(in);
  }
  std::string why;
  const auto game = ReadGame(text, why);
  if (!game) return Refuse(why);

  const auto verdicts = review::AnalyseRecord(game->start, game->moves, options, [&](const review::Verdict& v) {
    if (output == Output::Stream) {
      std::printf("%s\n", review::JsonObject(v).c_str());
      std::fflush(stdout);
    }
    return true;
  });
  if (output == Output::Json) std::fputs(review::JsonArray(verdicts).c_str(), stdout);
  if (output == Output::Text) {
    std::printf("%s\n", review::TextHeader().c_str());
    for (const review::Verdict& v : verdicts) std::printf("%s\n", review::TextLine(v).c_str());
  }
  return 0;
}
