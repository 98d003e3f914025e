#pragma once
// The game's side of the engine contract: one load, one call, one free for every single use.
#include <QByteArray>
#include <cstdint>
#include <optional>
#include <string>

#include "board/Rev.h"

// What an engine's GetStatus reported: raw code page 932 bytes, each up to its terminating zero.
struct EngineStatus {
  QByteArray name;    // display name, at most 20 bytes
  QByteArray bitmap;  // picture file name, without folder
};

// Loads the library at libraryPath, calls GetStatus once with zeroed buffers and frees it.
// Nothing when the library does not load or lacks the export.
std::optional<EngineStatus> QueryEngineStatus(const std::string& libraryPath);

// Loads the library, calls Tekuming once on a private copy of the board (cols pointers to rows
// cells each) with a zeroed scratch buffer and move record, frees it, and answers the engine's
// cell with value = side. Nothing when the library does not load or lacks the export. The answer
// is the engine's as it stands: the caller checks it against the board before applying it.
std::optional<_Rev> AskEngineMove(const std::string& libraryPath, std::int32_t cols, std::int32_t rows,
                                  std::int32_t* const* board, std::int32_t side);
