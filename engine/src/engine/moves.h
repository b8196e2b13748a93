// Making and taking back the move of the current ply record, and the king attack tests.
// These run once per move of the search, so they stay inline and branch-light.
#pragma once

#include "engine/position.h"

namespace engine {

// A right is taken away by any capture on its rook's corner while the right is held.
inline void TakeRightOnCapture(Position &pos, PlyRecord &p, CellCode *target) {
  CellCode *const b = pos.Board();
  std::uint32_t right = 0;
  if (target == b + kH1) {
    right = kWhiteShort;
  } else if (target == b + kA1) {
    right = kWhiteLong;
  } else if (target == b + kH8) {
    right = kBlackShort;
  } else if (target == b + kA8) {
    right = kBlackLong;
  }
  if (pos.rights & right) {
    pos.rights &= ~right;
    p.flags |= kRightTaken;
  }
}

inline void MakeMove(Position &pos) {
  PlyRecord &p = *pos.ply;
  CellCode *const to = p.to;
  const CellCode target = *to;
  if (target != kEmpty) {
    p.capturedCode = target;
    p.capturedCell = to;
    p.flags |= kCapture;
    pos.men[target & kNumberMask] = nullptr;
    if (pos.rights != 0)
      TakeRightOnCapture(pos, p, to);
  }
  const CellCode mover = *p.from;
  *to = mover;
  *p.from = kEmpty;
  pos.men[mover & kNumberMask] = to;
}

inline void GiveRightBack(Position &pos, const CellCode *corner) {
  const CellCode *const b = pos.Board();
  if (corner == b + kH1) {
    pos.rights |= kWhiteShort;
  } else if (corner == b + kA1) {
    pos.rights |= kWhiteLong;
  } else if (corner == b + kH8) {
    pos.rights |= kBlackShort;
  } else {
    pos.rights |= kBlackLong;
  }
}

inline void UnmakeMove(Position &pos) {
  PlyRecord &p = *pos.ply;
  const CellCode mover = *p.to;
  *p.from = mover;
  *p.to = kEmpty;
  pos.men[mover & kNumberMask] = p.from;
  if (p.flags & kCapture) {
    *p.capturedCell = p.capturedCode;
    pos.men[p.capturedCode & kNumberMask] = p.capturedCell;
    if (p.flags & kRightTaken) {
      p.flags &= ~kRightTaken;
      GiveRightBack(pos, p.capturedCell);
    }
  }
}

inline bool Holds(CellCode cell, CellCode mask) { return (cell & mask) == mask; }

// The first non-empty cell along a ray; the border always ends the walk.
inline const CellCode *FirstCellOnRay(const CellCode *from, int step) {
  const CellCode *c = from + step;
  while (*c == kEmpty)
    c += step;
  return c;
}

inline CellCode FirstOnRay(const CellCode *from, int step) { return *FirstCellOnRay(from, step); }

// Calls onAttacker(cell) for each man of colour `by` that attacks the king on cell k, until it
// answers true; answers whether it did. `pawnLeft` and `pawnRight` are the two squares from
// which an enemy pawn strikes k.
template <CellCode by, int pawnLeft, int pawnRight, class OnAttacker>
inline bool ForEachAttacker(const CellCode *k, OnAttacker &&onAttacker) {
  constexpr CellCode knight = by | kKnight;
  for (int jump : {-21, -19, -8, 12, 21, 19, 8, -12}) {
    if (Holds(k[jump], knight) && onAttacker(k + jump))
      return true;
  }
  constexpr CellCode striker = by | kAdjacentStriker;
  if (Holds(k[pawnLeft], striker) && onAttacker(k + pawnLeft))
    return true;
  if (Holds(k[pawnRight], striker) && onAttacker(k + pawnRight))
    return true;
  constexpr CellCode king = by | kKing;
  // The king's other six neighbours; the two pawn squares were covered above.
  for (int step : {-11, 9, 11, -9, 1, -1, 10, -10}) {
    if (step != pawnLeft && step != pawnRight && Holds(k[step], king) && onAttacker(k + step)) {
      return true;
    }
  }
  constexpr CellCode diagonal = by | kDiagonalSlider;
  for (int step : {-9, 11, 9, -11}) {
    const CellCode *c = FirstCellOnRay(k, step);
    if (Holds(*c, diagonal) && onAttacker(c))
      return true;
  }
  constexpr CellCode orthogonal = by | kOrthogonalSlider;
  for (int step : {1, 10, -10, -1}) {
    const CellCode *c = FirstCellOnRay(k, step);
    if (Holds(*c, orthogonal) && onAttacker(c))
      return true;
  }
  return false;
}

template <CellCode by, int pawnLeft, int pawnRight> inline bool Attacked(const CellCode *k) {
  return ForEachAttacker<by, pawnLeft, pawnRight>(k, [](const CellCode *) { return true; });
}

// Black pawns strike downwards, so they attack the white king from the two squares above it.
inline bool WhiteKingAttacked(const Position &pos) { return Attacked<kBlack, -9, 11>(pos.men[1]); }
inline bool BlackKingAttacked(const Position &pos) {
  return Attacked<kWhite, -11, 9>(pos.men[pos.allMen]);
}

template <class OnAttacker>
inline bool ForEachWhiteKingAttacker(const Position &pos, OnAttacker &&onAttacker) {
  return ForEachAttacker<kBlack, -9, 11>(pos.men[1], onAttacker);
}
template <class OnAttacker>
inline bool ForEachBlackKingAttacker(const Position &pos, OnAttacker &&onAttacker) {
  return ForEachAttacker<kWhite, -11, 9>(pos.men[pos.allMen], onAttacker);
}

} // namespace engine
