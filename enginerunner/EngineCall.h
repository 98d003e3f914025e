#pragma once
// One contract call in the calling process: load the library, look the export up by name, call
// it once with zero-filled buffers, free the library. The engine runner makes every call of the
// program this way, in a process of its own; tests and benchmarks use it to call an engine bare.
#include <optional>
#include <string>

#include "contract/EngineContract.h"
#include "contract/RunnerWire.h"

namespace enginecall {

// GetStatus's two buffers as the engine left them. Nothing when the library does not load or
// lacks the export.
std::optional<runnerwire::StatusBuffers> CallGetStatus(const std::string& libraryPath);

// Tekuming on a private copy of the request's board, with a zeroed scratch buffer and move
// record: the engine's record as it stands. Nothing when the library does not load, lacks the
// export, or the request holds no board.
std::optional<EngineMove> CallTekuming(const std::string& libraryPath, const runnerwire::MoveRequest& request);

}  // namespace enginecall
