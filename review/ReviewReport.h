#pragma once
// How a review is written out: one line per move for people, or JSON for programs.
#include <string>
#include <vector>

#include "review/GameAnalysis.h"

namespace review {

// "f5", or "pass".
std::string SquareName(int square);

// "  1  1  f5     +0  f5     +0  estimate"; the header names the columns.
std::string TextHeader();
std::string TextLine(const Verdict& v);

// {"n":1,"side":1,"move":"f5","value":0,"best":"f5","best_value":0,"exact":false}
std::string JsonObject(const Verdict& v);
// The verdicts as one JSON array, one object a line.
std::string JsonArray(const std::vector<Verdict>& verdicts);

}  // namespace review
