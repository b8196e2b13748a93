// Making and taking back the move of the current ply record, and the king attack tests.
// These run once per move of the search, so they stay inline and branch-light.
#pragma once

#include "engine/state.h"

namespace engine {

// A right is taken away by any capture on its rook's corner while the right is held.
inline void TakeRightOnCapture(PlyRecord& p, CellCode* target) {
  CellCode* const b = Board();
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
  if (state.rights & right) {
    state.rights &= ~right;
    p.flags |= kRightTaken;
  }
}

inline void MakeMove() {
  PlyRecord& p = *state.ply;
  CellCode* const to = p.to;
  const CellCode target = *to;
  if (target != kEmpty) {
    p.capturedCode = target;
    p.capturedCell = to;
    p.flags |= kCapture;
    state.men[target & kNumberMask] = nullptr;
    if (state.rights != 0) TakeRightOnCapture(p, to);
  }
  const CellCode mover = *p.from;
  *to = mover;
  *p.from = kEmpty;
  state.men[mover & kNumberMask] = to;
}

inline void GiveRightBack(const CellCode* corner) {
  const CellCode* const b = Board();
  if (corner == b + kH1) {
    state.rights |= kWhiteShort;
  } else if (corner == b + kA1) {
    state.rights |= kWhiteLong;
  } else if (corner == b + kH8) {
    state.rights |= kBlackShort;
  } else {
    state.rights |= kBlackLong;
  }
}

inline void UnmakeMove() {
  PlyRecord& p = *state.ply;
  const CellCode mover = *p.to;
  *p.from = mover;
  *p.to = kEmpty;
  state.men[mover & kNumberMask] = p.from;
  if (p.flags & kCapture) {
    *p.capturedCell = p.capturedCode;
    state.men[p.capturedCode & kNumberMask] = p.capturedCell;
    if (p.flags & kRightTaken) {
      p.flags &= ~kRightTaken;
      GiveRightBack(p.capturedCell);
    }
  }
}

inline bool Holds(CellCode cell, CellCode mask) { return (cell & mask) == mask; }

// The first non-empty cell along a ray; the border always ends the walk.
inline CellCode FirstOnRay(const CellCode* from, int step) {
  const CellCode* c = from + step;
  while (*c == kEmpty) c += step;
  return *c;
}

// Is the king on cell k attacked by men of colour `by`? `pawnLeft` and `pawnRight` are the
// two squares from which an enemy pawn strikes k.
template <CellCode by, int pawnLeft, int pawnRight>
inline bool Attacked(const CellCode* k) {
  constexpr CellCode knight = by | kKnight;
  if (Holds(k[-21], knight) || Holds(k[-19], knight) || Holds(k[-8], knight) ||
      Holds(k[12], knight) || Holds(k[21], knight) || Holds(k[19], knight) ||
      Holds(k[8], knight) || Holds(k[-12], knight))
    return true;
  constexpr CellCode striker = by | kAdjacentStriker;
  if (Holds(k[pawnLeft], striker) || Holds(k[pawnRight], striker)) return true;
  constexpr CellCode king = by | kKing;
  // The king's other six neighbours; the two pawn squares were covered above.
  constexpr int kingSteps[8] = {-11, 9, 11, -9, 1, -1, 10, -10};
  for (int step : kingSteps) {
    if (step == pawnLeft || step == pawnRight) continue;
    if (Holds(k[step], king)) return true;
  }
  constexpr CellCode diagonal = by | kDiagonalSlider;
  if (Holds(FirstOnRay(k, -9), diagonal) || Holds(FirstOnRay(k, 11), diagonal) ||
      Holds(FirstOnRay(k, 9), diagonal) || Holds(FirstOnRay(k, -11), diagonal))
    return true;
  constexpr CellCode orthogonal = by | kOrthogonalSlider;
  return Holds(FirstOnRay(k, 1), orthogonal) || Holds(FirstOnRay(k, 10), orthogonal) ||
         Holds(FirstOnRay(k, -10), orthogonal) || Holds(FirstOnRay(k, -1), orthogonal);
}

// Black pawns strike downwards, so they attack the white king from the two squares above it.
inline bool WhiteKingAttacked() { return Attacked<kBlack, -9, 11>(state.men[1]); }
inline bool BlackKingAttacked() { return Attacked<kWhite, -11, 9>(state.men[state.allMen]); }

} // namespace engine
