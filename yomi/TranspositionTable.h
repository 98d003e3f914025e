#pragma once
// Bounds found for positions, kept for one call only: the table is allocated when the call
// starts and freed before it returns.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

#include "yomi/Bitboard.h"

namespace yomi {


struct TableEntry {
  Bits own = 0;
  Bits opp = 0;
  std::int16_t lower = 0;  // the value is at least this
  std::int16_t upper = 0;  // and at most this
  std::uint8_t depth = 0;  // how deep the bounds were searched
  std::uint8_t move = kNoSquare;  // the best square found, or kNoSquare
  bool used = false;
};

// What an entry searched deep enough says about the window (alpha, beta): the value when its
// bounds settle it, else nothing, with the window narrowed to the bounds.
inline std::optional<int> Settle(const TableEntry& entry, int& alpha, int& beta) {
  if (entry.lower >= beta) return entry.lower;
  if (entry.upper <= alpha) return entry.upper;
  if (entry.lower == entry.upper) return entry.lower;
  alpha = std::max<int>(alpha, entry.lower);
  beta = std::min<int>(beta, entry.upper);
  return std::nullopt;
}

class TranspositionTable {
 public:
  // 2^bits entries. Zeroed pages come from the system lazily, so a short call touches little.
  explicit TranspositionTable(int bits);

  // The entry for p, or null; the caller decides whether its depth is enough.
  const TableEntry* Find(const Position& p) const;
  // The best square an earlier search of p found, at any depth, or kNoSquare.
  int MoveHint(const Position& p) const;
  void Store(const Position& p, int depth, int alpha, int beta, int value, int move);

 private:
  struct FreeDeleter {
    void operator()(TableEntry* entries) const { std::free(entries); }
  };
  std::size_t Index(const Position& p) const;

  std::unique_ptr<TableEntry[], FreeDeleter> entries_;
  std::size_t mask_;
};

}  // namespace yomi
