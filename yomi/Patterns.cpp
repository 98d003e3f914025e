#include "yomi/Patterns.h"

#include "yomi/Evaluator.h"

namespace yomi {

namespace {

// A set of up to 10 cells, bit k for the shape's k-th cell, as its base-3 digit weight: cell k
// is worth 3^k. Our stones give digit 1, the opponent's digit 2.
constexpr std::array<std::uint16_t, 1024> MakeTernary() {
  std::array<std::uint16_t, 1024> ternary{};
  for (int bits = 0; bits < 1024; ++bits)
    for (int k = 0; k < 10; ++k)
      if (bits & (1 << k)) ternary[bits] = static_cast<std::uint16_t>(ternary[bits] + Power3(k));
  return ternary;
}
constexpr auto kTernary = MakeTernary();

// The board's symmetries, applied to one side's stones.
Bits FlipVertical(Bits b) { return __builtin_bswap64(b); }

Bits FlipHorizontal(Bits b) {
  b = ((b >> 1) & 0x5555555555555555ULL) | ((b & 0x5555555555555555ULL) << 1);
  b = ((b >> 2) & 0x3333333333333333ULL) | ((b & 0x3333333333333333ULL) << 2);
  return ((b >> 4) & 0x0F0F0F0F0F0F0F0FULL) | ((b & 0x0F0F0F0F0F0F0F0FULL) << 4);
}

// Cell (x, y) to (y, x).
Bits Transpose(Bits b) {
  Bits t = 0x0F0F0F0F00000000ULL & (b ^ (b << 28));
  b ^= t ^ (t >> 28);
  t = 0x3333000033330000ULL & (b ^ (b << 14));
  b ^= t ^ (t >> 14);
  t = 0x5500550055005500ULL & (b ^ (b << 7));
  return b ^ t ^ (t >> 7);
}

// One side's stones under all eight symmetries: identity, mirrored left-right, upside down,
// both, and the same four after transposing.
struct Symmetric {
  explicit Symmetric(Bits b) {
    const Bits t = Transpose(b);
    view = {b, FlipHorizontal(b), FlipVertical(b), FlipHorizontal(FlipVertical(b)),
            t, FlipHorizontal(t), FlipVertical(t), FlipHorizontal(FlipVertical(t))};
  }
  std::array<Bits, 8> view;
};

// Each shape's cells at its home place (top left corner, top edge, main diagonal), gathered
// into the low bits in reading order.
Bits Corner3x3(Bits b) { return (b & 0x7) | ((b >> 5) & 0x38) | ((b >> 10) & 0x1C0); }
Bits Corner2x5(Bits b) { return (b & 0x1F) | ((b >> 3) & 0x3E0); }
Bits EdgeX(Bits b) { return (b & 0xFF) | (((b >> 9) & 1) << 8) | (((b >> 14) & 1) << 9); }
template <int Row>
Bits Line(Bits b) {
  return (b >> (8 * Row)) & 0xFF;
}
// Cells (k, 0), (k + 1, 1), ... down to the right edge.
template <int K>
Bits Diagonal(Bits b) {
  constexpr Bits kMain = 0x8040201008040201ULL;
  constexpr Bits kMask = K == 0 ? kMain : kMain & ((Bits{1} << (8 * (8 - K))) - 1);
  return (((b >> K) & kMask) * 0x0101010101010101ULL) >> 56;
}

// The views each shape is read in: together they reach every place of the shape once.
constexpr int kCornerViews[] = {0, 1, 2, 3};
constexpr int kAllViews[] = {0, 1, 2, 3, 4, 5, 6, 7};
constexpr int kEdgeViews[] = {0, 2, 4, 6};
constexpr int kMainDiagonalViews[] = {0, 1};
constexpr int kDiagonalViews[] = {0, 4, 1, 2};

template <Bits (*Gather)(Bits), std::size_t N>
void ReadShape(const Symmetric& own, const Symmetric& opp, const int (&views)[N], int offset, std::int32_t*& out) {
  for (int v : views) *out++ = offset + kTernary[Gather(own.view[v])] + 2 * kTernary[Gather(opp.view[v])];
}

}  // namespace

FeatureIndices ReadFeatures(const Position& p) {
  const Symmetric own(p.own);
  const Symmetric opp(p.opp);
  FeatureIndices features;
  std::int32_t* out = features.data();
  ReadShape<Corner3x3>(own, opp, kCornerViews, kTableOffsets[0], out);
  ReadShape<Corner2x5>(own, opp, kAllViews, kTableOffsets[1], out);
  ReadShape<EdgeX>(own, opp, kEdgeViews, kTableOffsets[2], out);
  ReadShape<Line<1>>(own, opp, kEdgeViews, kTableOffsets[3], out);
  ReadShape<Line<2>>(own, opp, kEdgeViews, kTableOffsets[4], out);
  ReadShape<Line<3>>(own, opp, kEdgeViews, kTableOffsets[5], out);
  ReadShape<Diagonal<0>>(own, opp, kMainDiagonalViews, kTableOffsets[6], out);
  ReadShape<Diagonal<1>>(own, opp, kDiagonalViews, kTableOffsets[7], out);
  ReadShape<Diagonal<2>>(own, opp, kDiagonalViews, kTableOffsets[8], out);
  ReadShape<Diagonal<3>>(own, opp, kDiagonalViews, kTableOffsets[9], out);
  ReadShape<Diagonal<4>>(own, opp, kDiagonalViews, kTableOffsets[10], out);

  const Bits empty = p.Empty();
  const int counts[kCountFeatures] = {Count(LegalMoves(p.own, p.opp)), Count(LegalMoves(p.opp, p.own)),
                                      Count(EmptyNeighbours(p.opp, empty)), Count(EmptyNeighbours(p.own, empty))};
  for (int c = 0; c < kCountFeatures; ++c) *out++ = kCountOffset + c * kCountTableSize + counts[c];
  return features;
}

int MirroredIndex(int shape, int index) {
  // Where each cell goes under the symmetry.
  static constexpr int kCornerTranspose[9] = {0, 3, 6, 1, 4, 7, 2, 5, 8};
  static constexpr int kEdgeMirror[10] = {7, 6, 5, 4, 3, 2, 1, 0, 9, 8};
  const Shape& s = kShapes[shape];
  if (s.symmetry == SelfSymmetry::None) return index;
  int mirrored = 0;
  for (int k = 0, rest = index; k < s.cells; ++k, rest /= 3) {
    const int to = s.symmetry == SelfSymmetry::Transposed     ? kCornerTranspose[k]
                   : s.symmetry == SelfSymmetry::EdgeMirrored ? kEdgeMirror[k]
                                                              : s.cells - 1 - k;
    mirrored += (rest % 3) * Power3(to);
  }
  return mirrored;
}

}  // namespace yomi
