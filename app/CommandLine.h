#pragma once
#include <optional>

// Questions asked on the terminal: --help and --version are answered on standard output without
// opening a window (no display is needed), and the program then ends with the code answered
// here. Nothing for a normal start; options the program does not know are left to Qt.
std::optional<int> AnswerCommandLine(int argc, char** argv);
