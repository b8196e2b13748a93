// Which line, if any, joins two squares: the ray step from the first towards the second and
// the kind of slider that attacks along it. Looked up once per move by the legality test.
#pragma once

#include "engine/position.h"

#include <array>
#include <cstdint>

namespace engine {

struct LineStep {
  std::int8_t step;     // 0: the squares share no rank, file or diagonal
  std::uint16_t slider; // kOrthogonalSlider or kDiagonalSlider
};

namespace detail {

inline constexpr int kSquareSpan = SquareIndex(7, 7) + 1;

constexpr LineStep LineBetween(int from, int to) {
  const int df = to / 10 - from / 10;
  const int dr = to % 10 - from % 10;
  if (from == to || from % 10 > 7 || to % 10 > 7)
    return {0, 0};
  const int sf = (df > 0) - (df < 0);
  const int sr = (dr > 0) - (dr < 0);
  if (df == 0 || dr == 0)
    return {static_cast<std::int8_t>(10 * sf + sr), kOrthogonalSlider};
  if (df == dr || df == -dr)
    return {static_cast<std::int8_t>(10 * sf + sr), kDiagonalSlider};
  return {0, 0};
}

constexpr auto MakeLineTable() {
  std::array<std::array<LineStep, kSquareSpan>, kSquareSpan> table{};
  for (int from = 0; from < kSquareSpan; ++from) {
    for (int to = 0; to < kSquareSpan; ++to)
      table[from][to] = LineBetween(from, to);
  }
  return table;
}

inline constexpr auto kLineTable = MakeLineTable();

// Every cell of the board, border included (0 there), so any cell a step reaches has a bit.
constexpr auto MakeSquareBits() {
  std::array<std::uint64_t, kBoardCells> bits{};
  for (int index = 0; index < kSquareSpan; ++index) {
    if (index % 10 < 8)
      bits[kBorderOffset + index] = std::uint64_t{1} << (8 * (index / 10) + index % 10);
  }
  return bits;
}

inline constexpr auto kSquareBits = MakeSquareBits();

} // namespace detail

// Between two squares a knight's jump is one of these differences and no other pair of
// squares has them, since no rank difference reaches 8.
inline bool IsKnightJump(const CellCode *from, const CellCode *to) {
  switch (to - from) {
  case -21:
  case -19:
  case -12:
  case -8:
  case 8:
  case 12:
  case 19:
  case 21:
    return true;
  default:
    return false;
  }
}

// One bit per square, for sets of squares; 0 for a border cell.
inline std::uint64_t SquareBit(const CellCode *cell) {
  return detail::kSquareBits[kBorderOffset + IndexOf(cell)];
}

// Squares by number 8 * file + rank: where a knight jumps to, and the lines through a square.
struct SquareReach {
  std::uint64_t knight;
  std::uint64_t orthogonal; // its rank and file
  std::uint64_t diagonal;   // its two diagonals
};

namespace detail {

constexpr std::array<SquareReach, 64> MakeSquareReach() {
  std::array<SquareReach, 64> reach{};
  for (int s = 0; s < 64; ++s) {
    const int file = s / 8, rank = s % 8;
    for (int t = 0; t < 64; ++t) {
      const int df = t / 8 - file, dr = t % 8 - rank;
      const std::uint64_t bit = std::uint64_t{1} << t;
      if (df * df + dr * dr == 5)
        reach[s].knight |= bit;
      if (t != s && (df == 0 || dr == 0))
        reach[s].orthogonal |= bit;
      if (t != s && (df == dr || df == -dr))
        reach[s].diagonal |= bit;
    }
  }
  return reach;
}

inline constexpr auto kSquareReach = MakeSquareReach();

} // namespace detail

// For a square of the board (not the border).
inline const SquareReach &ReachFrom(const CellCode *cell) {
  const int index = IndexOf(cell);
  return detail::kSquareReach[8 * (index / 10) + index % 10];
}

namespace detail {

// The eight ray steps, and a ray's index by step + 11.
inline constexpr int kRaySteps[8] = {1, 10, -1, -10, 11, 9, -11, -9};

constexpr std::array<std::array<std::uint64_t, 8>, 64> MakeRayMasks() {
  std::array<std::array<std::uint64_t, 8>, 64> masks{};
  for (int s = 0; s < 64; ++s) {
    for (int d = 0; d < 8; ++d) {
      int index = 10 * (s / 8) + s % 8 + kRaySteps[d];
      while (index >= 0 && index < kSquareSpan && index % 10 < 8) {
        masks[s][d] |= std::uint64_t{1} << (8 * (index / 10) + index % 10);
        index += kRaySteps[d];
      }
    }
  }
  return masks;
}

constexpr std::array<std::int8_t, 23> MakeRayIndex() {
  std::array<std::int8_t, 23> index{};
  for (int d = 0; d < 8; ++d)
    index[kRaySteps[d] + 11] = static_cast<std::int8_t>(d);
  return index;
}

inline constexpr auto kRayMasks = MakeRayMasks();
inline constexpr auto kRayIndex = MakeRayIndex();

} // namespace detail

// Could the man on `cell` move to one of the given squares, judged by the lines of its kind
// alone (what stands in the way is not looked at)? Knights by their jumps, bishops and rooks
// along their lines; a queen along either to any of the squares, as it attacks both ways from
// wherever it lands; pawns and kings answer `otherwise`.
inline bool MayReach(const CellCode *cell, std::uint64_t knight, std::uint64_t diagonal,
                     std::uint64_t orthogonal, bool otherwise) {
  const SquareReach &reach = ReachFrom(cell);
  switch (*cell & kKindMask) {
  case kKnight:
    return knight & reach.knight;
  case kBishop:
    return diagonal & reach.diagonal;
  case kRook:
    return orthogonal & reach.orthogonal;
  case kQueen:
    return (diagonal | orthogonal) & (reach.diagonal | reach.orthogonal);

  default:
    return otherwise;
  }
}

// Every square along a ray from a square to the edge of the board, whatever stands on it.

inline std::uint64_t RayMask(const CellCode *cell, int step) {
  const int index = IndexOf(cell);
  return detail::kRayMasks[8 * (index / 10) + index % 10][detail::kRayIndex[step + 11]];
}

inline LineStep LineThrough(const CellCode *from, const CellCode *through) {
  return detail::kLineTable[IndexOf(from)][IndexOf(through)];
}

} // namespace engine
