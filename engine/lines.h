// Which line, if any, joins two squares: the ray step from the first towards the second and
// the kind of slider that attacks along it. Looked up once per move by the legality test.
#pragma once

#include "engine/state.h"

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

constexpr auto MakeSquareBits() {
  std::array<std::uint64_t, kSquareSpan> bits{};
  for (int index = 0; index < kSquareSpan; ++index) {
    if (index % 10 < 8)
      bits[index] = std::uint64_t{1} << (8 * (index / 10) + index % 10);
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
inline std::uint64_t SquareBit(const CellCode *cell) { return detail::kSquareBits[IndexOf(cell)]; }

inline LineStep LineThrough(const CellCode *from, const CellCode *through) {
  return detail::kLineTable[IndexOf(from)][IndexOf(through)];
}

} // namespace engine
