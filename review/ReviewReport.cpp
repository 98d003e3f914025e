#include "review/ReviewReport.h"

#include <cstdio>

namespace review {

std::string SquareName(int square) {
  if (square == kPass) return "pass";
  return {static_cast<char>('a' + square % 8), static_cast<char>('1' + square / 8)};
}

std::string TextHeader() { return "#  n side move value best best_value exact"; }

std::string TextLine(const Verdict& v) {
  char line[96];
  std::snprintf(line, sizeof line, "%4d  %d  %-4s %+5d  %-4s %+5d  %s", v.number, v.side, SquareName(v.move).c_str(),
                v.value, SquareName(v.best).c_str(), v.bestValue, v.exact ? "exact" : "estimate");
  return line;
}

std::string JsonObject(const Verdict& v) {
  char object[160];
  std::snprintf(object, sizeof object,
                R"({"n":%d,"side":%d,"move":"%s","value":%d,"best":"%s","best_value":%d,"exact":%s})", v.number, v.side,
                SquareName(v.move).c_str(), v.value, SquareName(v.best).c_str(), v.bestValue, v.exact ? "true" : "false");
  return object;
}

std::string JsonArray(const std::vector<Verdict>& verdicts) {
  std::string out = "[";
  for (std::size_t i = 0; i < verdicts.size(); ++i) out += (i ? ",\n " : "\n ") + JsonObject(verdicts[i]);
  out += verdicts.empty() ? "]\n" : "\n]\n";
  return out;
}

}  // namespace review
