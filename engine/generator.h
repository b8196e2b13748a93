// Move generation without a move list: every move is written into the current ply record,
// made, tested for the mover's king and handed to a visitor, one at a time, in the fixed
// order that decides the order of the solutions.
//
// A visitor has two members:
//   void Make();   makes the move of the current record (MakeMove, or MakeRootMove at a root)
//   bool Visit();  called for a legal move on the board; takes it back with UnmakeMove and
//                  answers true to end this level at once.
// GenerateMoves answers true when a visitor ended the level; everything generation changed for
// the time of one man's moves is restored in both endings.
#pragma once

#include "engine/moves.h"

namespace engine {

enum class Side { White, Black };

template <Side S> struct SideRules;

template <> struct SideRules<Side::White> {
  static constexpr CellCode own = kWhite;
  static constexpr CellCode enemy = kBlack;
  static constexpr int ahead = 1;
  static constexpr int leftFront = -9;
  static constexpr int rightFront = 11;
  static constexpr std::uint32_t rights = kWhiteLong | kWhiteShort;
  static constexpr std::uint32_t shortRight = kWhiteShort;
  static constexpr std::uint32_t longRight = kWhiteLong;
  static constexpr int kingHome = kE1, shortRook = kH1, longRook = kA1;
  static constexpr int f = kF1, g = kG1, d = kD1, c = kC1, b = kB1;
  static bool KingAttacked() { return WhiteKingAttacked(); }
};

template <> struct SideRules<Side::Black> {
  static constexpr CellCode own = kBlack;
  static constexpr CellCode enemy = kWhite;
  static constexpr int ahead = -1;
  static constexpr int leftFront = -11;
  static constexpr int rightFront = 9;
  static constexpr std::uint32_t rights = kBlackLong | kBlackShort;
  static constexpr std::uint32_t shortRight = kBlackShort;
  static constexpr std::uint32_t longRight = kBlackLong;
  static constexpr int kingHome = kE8, shortRook = kH8, longRook = kA8;
  static constexpr int f = kF8, g = kG8, d = kD8, c = kC8, b = kB8;
  static bool KingAttacked() { return BlackKingAttacked(); }
};

inline constexpr int kKnightJumps[8] = {-19, -8, 12, 21, 19, 8, -12, -21};
inline constexpr int kKingSteps[8] = {-9, 11, 9, -11, 1, -1, -10, 10};
inline constexpr int kOrthogonalRays[4] = {1, 10, -1, -10};
inline constexpr int kDiagonalRays[4] = {11, 9, -11, -9};
inline constexpr CellCode kPromotionKinds[4] = {kKnight, kQueen, kRook, kBishop};

template <Side S> inline bool IsEnemy(CellCode cell) {
  return (cell & kColourMask) == SideRules<S>::enemy;
}

template <Side S> inline bool IsOwnOrBorder(CellCode cell) {
  return (cell & SideRules<S>::own) != 0;
}

template <Side S, class V>
inline bool TryMove(V& v, CellCode* from, CellCode* to, std::uint32_t flags) {
  PlyRecord& p = *state.ply;
  p.from = from;
  p.to = to;
  p.flags = flags;
  ++state.nodes;
  v.Make();
  if (SideRules<S>::KingAttacked()) {
    UnmakeMove();
    return false;
  }
  return v.Visit();
}

template <Side S, class V> inline bool Jumps(V& v, CellCode* from, const int (&steps)[8]) {
  for (int step : steps) {
    CellCode* to = from + step;
    if (!IsOwnOrBorder<S>(*to) && TryMove<S>(v, from, to, 0)) return true;
  }
  return false;
}

template <Side S, class V> inline bool Rays(V& v, CellCode* from, const int (&steps)[4]) {
  for (int step : steps) {
    CellCode* to = from + step;
    for (; *to == kEmpty; to += step) {
      if (TryMove<S>(v, from, to, 0)) return true;
    }
    if (IsEnemy<S>(*to) && TryMove<S>(v, from, to, 0)) return true;
  }
  return false;
}

template <Side S, class V> inline bool SliderMoves(V& v, CellCode* from, CellCode kind) {
  if ((kind & kOrthogonalSlider) && Rays<S>(v, from, kOrthogonalRays)) return true;
  return (kind & kDiagonalSlider) && Rays<S>(v, from, kDiagonalRays);
}

// A rook leaving its own corner loses that side's right for the moves below it.
template <Side S, class V> inline bool RookMoves(V& v, CellCode* from, std::uint32_t held) {
  using R = SideRules<S>;
  if (held != 0) {
    if (from == Board() + R::shortRook) {
      state.rights &= ~R::shortRight;
    } else if (from == Board() + R::longRook) {
      state.rights &= ~R::longRight;
    }
  }
  const bool ended = Rays<S>(v, from, kOrthogonalRays);
  state.rights |= held;
  return ended;
}

// Castling in three steps on one record: the king's first step (refused if it stands
// attacked there), its second step, then the rook's move, which is the move counted,
// tested and searched.
template <Side S, class V>
inline bool Castle(V& v, int kingPass, int kingTarget, int rook, int rookTarget,
                   std::uint32_t flag) {
  using R = SideRules<S>;
  CellCode* const b = Board();
  PlyRecord& p = *state.ply;
  p.from = b + R::kingHome;
  p.to = b + kingPass;
  p.flags = 0;
  MakeMove();
  if (R::KingAttacked()) {
    UnmakeMove();
    return false;
  }
  p.from = b + kingPass;
  p.to = b + kingTarget;
  MakeMove();
  const bool ended = TryMove<S>(v, b + rook, b + rookTarget, flag);
  p.from = b + R::kingHome;
  p.to = b + kingTarget;
  p.flags = 0;
  UnmakeMove();
  return ended;
}

template <Side S, class V> inline bool KingMoves(V& v, CellCode* from, std::uint32_t held) {
  using R = SideRules<S>;
  state.rights &= ~R::rights;
  bool ended = Jumps<S>(v, from, kKingSteps);
  if (!ended && held != 0 && !R::KingAttacked()) {
    const CellCode* b = Board();
    if ((held & R::shortRight) && b[R::f] == kEmpty && b[R::g] == kEmpty) {
      ended = Castle<S>(v, R::f, R::g, R::shortRook, R::f, kShortCastling);
    }
    if (!ended && (held & R::longRight) && b[R::d] == kEmpty && b[R::c] == kEmpty &&
        b[R::b] == kEmpty) {
      ended = Castle<S>(v, R::d, R::c, R::longRook, R::d, kLongCastling);
    }
  }
  state.rights |= held;
  return ended;
}

// The pawn becomes a knight, queen, rook and bishop in its own cell before each move.
template <Side S, class V> inline bool Promotions(V& v, CellCode* from, CellCode* to) {
  const CellCode man = *from & ~kKindMask;
  bool ended = false;
  for (CellCode kind : kPromotionKinds) {
    *from = man | kind;
    if (TryMove<S>(v, from, to, kPromotion)) {
      ended = true;
      break;
    }
  }
  *from = man | kPawn;
  return ended;
}

template <Side S, class V> inline bool PromotingPawnMoves(V& v, CellCode* from) {
  using R = SideRules<S>;
  if (from[R::ahead] == kEmpty && Promotions<S>(v, from, from + R::ahead)) return true;
  if (IsEnemy<S>(from[R::leftFront]) && Promotions<S>(v, from, from + R::leftFront)) return true;
  return IsEnemy<S>(from[R::rightFront]) && Promotions<S>(v, from, from + R::rightFront);
}

// The pawn that has just made a double step stands beside this one: take it in passing.
template <Side S, class V> inline bool EnPassant(V& v, CellCode* from) {
  const PlyRecord& last = state.ply[-1];
  if (!(last.flags & kDoubleStep) || (last.to != from + 10 && last.to != from - 10)) return false;
  // The victim stands on rank 4 or 5, never on a rook corner, so no right can go with it.
  PlyRecord& p = *state.ply;
  CellCode* const victim = last.to;
  p.capturedCode = *victim;
  p.capturedCell = victim;
  state.men[*victim & kNumberMask] = nullptr;
  *victim = kEmpty;
  return TryMove<S>(v, from, victim + SideRules<S>::ahead, kEnPassant | kCapture);
}

template <Side S, class V> inline bool PawnSteps(V& v, CellCode* from) {
  using R = SideRules<S>;
  if (from[R::ahead] == kEmpty && TryMove<S>(v, from, from + R::ahead, 0)) return true;
  if (IsEnemy<S>(from[R::leftFront]) && TryMove<S>(v, from, from + R::leftFront, 0)) return true;
  return IsEnemy<S>(from[R::rightFront]) && TryMove<S>(v, from, from + R::rightFront, 0);
}

template <Side S, class V> inline bool UnmovedPawnMoves(V& v, CellCode* from) {
  using R = SideRules<S>;
  *from &= ~kUnmoved;
  bool ended = from[R::ahead] == kEmpty && from[2 * R::ahead] == kEmpty &&
               TryMove<S>(v, from, from + 2 * R::ahead, kDoubleStep);
  if (!ended) ended = PawnSteps<S>(v, from);
  *from |= kUnmoved;
  return ended;
}

template <Side S, class V> inline bool PawnMoves(V& v, CellCode* from) {
  if (from[2 * SideRules<S>::ahead] == kBorder) return PromotingPawnMoves<S>(v, from);
  return EnPassant<S>(v, from) || PawnSteps<S>(v, from);
}

template <Side S, class V> inline bool ManMoves(V& v, CellCode* from, std::uint32_t held) {
  const CellCode kind = *from & kKindMask;
  switch (kind) {
  case kKnight:
    return Jumps<S>(v, from, kKnightJumps);
  case kRook:
    return RookMoves<S>(v, from, held);
  case kBishop:
  case kQueen:
    return SliderMoves<S>(v, from, kind);
  case kPawn:
    return PawnMoves<S>(v, from);
  case kUnmovedPawn:
    return UnmovedPawnMoves<S>(v, from);
  case kKing:
    return KingMoves<S>(v, from, held);
  default:
    return false;
  }
}

// White's men are numbered W..1 and Black's W+1..T in board order, the king last of each.
template <Side S, class V> inline bool GenerateMoves(V& v) {
  const std::uint32_t held = state.rights & SideRules<S>::rights;
  if constexpr (S == Side::White) {
    for (int n = state.whiteMen; n >= 1; --n) {
      CellCode* from = state.men[n];
      if (from != nullptr && ManMoves<S>(v, from, held)) return true;
    }
  } else {
    for (int n = state.whiteMen + 1; n <= state.allMen; ++n) {
      CellCode* from = state.men[n];
      if (from != nullptr && ManMoves<S>(v, from, held)) return true;
    }
  }
  return false;
}

} // namespace engine
