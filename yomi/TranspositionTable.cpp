#include "yomi/TranspositionTable.h"

#include <limits>
#include <new>

namespace yomi {

namespace {
constexpr std::int16_t kLowest = std::numeric_limits<std::int16_t>::min();
constexpr std::int16_t kHighest = std::numeric_limits<std::int16_t>::max();
}  // namespace

TranspositionTable::TranspositionTable(int bits)
    : entries_(static_cast<TableEntry*>(std::calloc(std::size_t{1} << bits, sizeof(TableEntry)))),
      mask_((std::size_t{1} << bits) - 1) {
  if (!entries_) throw std::bad_alloc();
}

std::size_t TranspositionTable::Index(const Position& p) const {
  const Bits mixed = (p.own ^ (p.opp * 0x9E3779B97F4A7C15ULL)) * 0xD6E8FEB86659FD93ULL;
  return static_cast<std::size_t>(mixed >> 32) & mask_ & ~std::size_t{1};
}

// Two entries per bucket: the one for the same position, else the shallower one is replaced.
const TableEntry* TranspositionTable::Find(const Position& p) const {
  const std::size_t index = Index(p);
  for (std::size_t i = index; i <= index + 1; ++i) {
    const TableEntry& entry = entries_[i];
    if (entry.used && entry.own == p.own && entry.opp == p.opp) return &entry;
  }
  return nullptr;
}

int TranspositionTable::MoveHint(const Position& p) const {
  const TableEntry* entry = Find(p);
  return entry ? entry->move : kNoSquare;
}

void TranspositionTable::Store(const Position& p, int depth, int alpha, int beta, int value, int move) {
  const std::size_t index = Index(p);
  TableEntry* slot = &entries_[index];
  TableEntry* other = &entries_[index + 1];
  if (!(slot->own == p.own && slot->opp == p.opp) &&
      ((other->own == p.own && other->opp == p.opp) || !other->used || other->depth < slot->depth))
    slot = other;
  slot->own = p.own;
  slot->opp = p.opp;
  slot->depth = static_cast<std::uint8_t>(depth);
  slot->used = true;
  slot->move = static_cast<std::uint8_t>(move);
  slot->lower = value > alpha ? static_cast<std::int16_t>(value) : kLowest;
  slot->upper = value < beta ? static_cast<std::int16_t>(value) : kHighest;
}

}  // namespace yomi
