#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

std::optional<int> AnswerCommandLine(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Velmora: Reversi with a Japanese user interface, for two players at this machine, "
      "against a computer engine, or over the network."));
  // Not addHelpOption: its --help-all would have to start the windows to list Qt's options.
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays this help."));
  parser.addOption(help);
  const QCommandLineOption version = parser.addVersionOption();
  parser.parse(arguments);
  if (!parser.isSet(help) && !parser.isSet(version)) return std::nullopt;

  // The texts name the program; a core application needs no display.
  QCoreApplication core(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("velmora"));
  QCoreApplication::setApplicationVersion(QStringLiteral(VELM_VERSION));
  const QString text = parser.isSet(help) ? parser.helpText()
                                          : QStringLiteral("velmora %1\n").arg(QStringLiteral(VELM_VERSION));
  std::fputs(text.toLocal8Bit().constData(), stdout);
  return 0;
}
