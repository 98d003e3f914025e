#pragma once
// The 8 x 8 board as two 64-bit sets, the mover's stones and the opponent's.
// Cell (x, y) is bit y * 8 + x: x the column from the left, y the row from the top.
#include <array>
#include <bit>
#include <cstdint>

namespace yomi {

using Bits = std::uint64_t;

constexpr int kCells = 64;
constexpr int kNoSquare = 64;  // no move
constexpr int Square(int x, int y) { return y * 8 + x; }
constexpr Bits Bit(int square) { return Bits{1} << square; }
// Counted in the register: the baseline x86-64 target has no popcount instruction, and the
// library call the compiler would make instead costs more than this.
inline int Count(Bits b) {
  b -= (b >> 1) & 0x5555555555555555ULL;
  b = (b & 0x3333333333333333ULL) + ((b >> 2) & 0x3333333333333333ULL);
  b = (b + (b >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<int>((b * 0x0101010101010101ULL) >> 56);
}
inline int FirstSquare(Bits b) { return std::countr_zero(b); }

constexpr Bits kCorners = 0x8100000000000081ULL;

// Every empty cell where the mover may place.
Bits LegalMoves(Bits own, Bits opp);

namespace detail {

// For each cell and each of the eight directions, the cells beyond it up to the edge.
// Directions 0..3 run towards higher bits, 4..7 towards lower ones.
struct Rays {
  std::array<std::array<Bits, 8>, kCells> line{};
};

constexpr Rays MakeRays() {
  constexpr int dx[8] = {1, -1, 0, 1, -1, 1, 0, -1};
  constexpr int dy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
  Rays rays;
  for (int square = 0; square < kCells; ++square)
    for (int d = 0; d < 8; ++d) {
      Bits line = 0;
      for (int x = square % 8 + dx[d], y = square / 8 + dy[d]; x >= 0 && x < 8 && y >= 0 && y < 8; x += dx[d], y += dy[d])
        line |= Bit(Square(x, y));
      rays.line[square][d] = line;
    }
  return rays;
}

inline constexpr Rays kRays = MakeRays();

}  // namespace detail

// The opponent stones a placement on square turns over; empty when the placement is illegal
// (the square itself is assumed empty).
inline Bits Flips(Bits own, Bits opp, int square) {
  const auto& line = detail::kRays.line[square];
  Bits flips = 0;
  for (int d = 0; d < 4; ++d) {
    // The first cell along the ray that is not the opponent's: it must be ours.
    const Bits beyond = line[d] & ~opp;
    const Bits first = beyond & (0 - beyond);
    if (first & own) flips |= (first - 1) & line[d];
  }
  for (int d = 4; d < 8; ++d) {
    const Bits first = std::bit_floor(line[d] & ~opp);
    if (first & own) flips |= line[d] & ~((first << 1) - 1);
  }
  return flips;
}

// A position seen from the side to move.
struct Position {
  Bits own = 0;
  Bits opp = 0;

  Bits Empty() const { return ~(own | opp); }
  int Empties() const { return kCells - Count(own | opp); }
  // The position after the mover places on square with these flips; the other side moves next.
  Position Play(int square, Bits flips) const { return {opp ^ flips, own ^ flips ^ Bit(square)}; }
  Position Pass() const { return {opp, own}; }
  // Stones of the mover minus the opponent's: the result once nobody can move.
  int Difference() const { return Count(own) - Count(opp); }
  bool operator==(const Position&) const = default;
};

Position StartPosition();

}  // namespace yomi
