// Move generation without a move list: every move is written into the current ply record,
// made, tested for the mover's king and handed to a visitor, one at a time, in the fixed
// order that decides the order of the solutions.
//
// A visitor has two members, and may have a third:
//   void Make();   makes the move of the current record (MakeMove, and what a root adds)
//   bool Visit();  called for a legal move on the board; takes it back with UnmakeMove and
//                  answers true to end this level at once.
//   bool Wants(const CellCode* from, const CellCode* to, std::uint32_t flags);
//                  asked before a move is made (a promoting pawn already wears its new kind);
//                  a move it does not want is neither made nor counted.
// and bool WantsMan(const CellCode* from) and bool WantsRay(const CellCode* from, int step),
// which pass over all moves of a man, or of a slider along one ray, at once.

// Run answers true when a visitor ended the level; everything generation changed for the time
// of one man's moves is restored in both endings.
#pragma once

#include "engine/king_safety.h"

namespace engine {

template <Side S, class V> class MoveGenerator {
  using R = SideRules<S>;

public:
  MoveGenerator(Position &pos, V &visitor)
      : pos_(pos), v_(visitor), held_(pos.rights & R::rights), safety_(pos) {}

  // Whether the side to move stood in check when the level began, and by whom.
  bool InCheck() const { return safety_.InCheck(); }
  const KingSafety<S> &Safety() const { return safety_; }

  // White's men are numbered W..1 and Black's W+1..T in board order, the king last of each.
  bool Run() {
    if constexpr (S == Side::White) {
      for (int n = pos_.whiteMen; n >= 1; --n) {
        CellCode *from = pos_.men[n];
        if (from != nullptr && ManMoves(from))
          return true;
      }
    } else {
      for (int n = pos_.whiteMen + 1; n <= pos_.allMen; ++n) {
        CellCode *from = pos_.men[n];
        if (from != nullptr && ManMoves(from))
          return true;
      }
    }
    return false;
  }

private:
  static bool IsEnemy(CellCode cell) { return (cell & kColourMask) == R::enemy; }
  static bool IsOwnOrBorder(CellCode cell) { return (cell & R::own) != 0; }

  template <bool anyMan = false, bool asked = false>
  bool Try(CellCode *from, CellCode *to, std::uint32_t flags) {
    if constexpr (!asked && requires { v_.Wants(from, to, flags); }) {
      if (!v_.Wants(from, to, flags))
        return false;
    }
    // In check, a man other than the king that neither takes nor blocks the checker stays
    // illegal: it need not be made, unless every move made is reported.
    if constexpr (!anyMan && !requires { V::reportsEveryMove; }) {
      if (safety_.CannotEvade(to))
        return false;
    }

    PlyRecord &p = *pos_.ply;
    p.from = from;
    p.to = to;
    p.flags = flags;
    ++pos_.nodes;
    v_.Make();
    if (safety_.template Exposed<anyMan>(from, to)) {
      UnmakeMove(pos_);
      return false;
    }
    return v_.Visit();
  }

  template <bool king> bool Jumps(CellCode *from, const int (&steps)[8]) {
    for (int step : steps) {
      CellCode *to = from + step;
      if (!IsOwnOrBorder(*to) && Try<king>(from, to, 0))
        return true;
    }
    return false;
  }

  bool Rays(CellCode *from, const int (&steps)[4]) {
    for (int step : steps) {
      if constexpr (requires { v_.WantsRay(from, step); }) {
        if (!v_.WantsRay(from, step))
          continue;
      }
      CellCode *to = from + step;
      for (; *to == kEmpty; to += step) {
        if (Try(from, to, 0))
          return true;
      }
      if (IsEnemy(*to) && Try(from, to, 0))
        return true;
    }
    return false;
  }

  bool SliderMoves(CellCode *from, CellCode kind) {
    if ((kind & kOrthogonalSlider) && Rays(from, kOrthogonalRays))
      return true;
    return (kind & kDiagonalSlider) && Rays(from, kDiagonalRays);
  }

  // A rook leaving its own corner loses that side's right for the moves below it.
  bool RookMoves(CellCode *from) {
    if (held_ != 0) {
      if (from == pos_.Board() + R::shortRook) {
        pos_.rights &= ~R::shortRight;
      } else if (from == pos_.Board() + R::longRook) {
        pos_.rights &= ~R::longRight;
      }
    }
    const bool ended = Rays(from, kOrthogonalRays);
    pos_.rights |= held_;
    return ended;
  }

  // Castling in three steps on one record: the king's first step (refused if it stands
  // attacked there), its second step, then the rook's move, which is the move counted,
  // tested and searched.
  bool Castle(int kingPass, int kingTarget, int rook, int rookTarget, std::uint32_t flag) {
    CellCode *const b = pos_.Board();
    PlyRecord &p = *pos_.ply;
    p.from = b + R::kingHome;
    p.to = b + kingPass;
    p.flags = 0;
    MakeMove(pos_);
    if (R::KingAttacked(pos_)) {
      UnmakeMove(pos_);
      return false;
    }
    p.from = b + kingPass;
    p.to = b + kingTarget;
    MakeMove(pos_);
    const bool ended = Try<true>(b + rook, b + rookTarget, flag);
    p.from = b + R::kingHome;
    p.to = b + kingTarget;
    p.flags = 0;
    UnmakeMove(pos_);
    return ended;
  }

  bool KingMoves(CellCode *from) {
    pos_.rights &= ~R::rights;
    bool ended = Jumps<true>(from, kKingSteps);
    if (!ended && held_ != 0 && !safety_.InCheck()) {
      const CellCode *b = pos_.Board();
      if ((held_ & R::shortRight) && b[R::f] == kEmpty && b[R::g] == kEmpty) {
        ended = Castle(R::f, R::g, R::shortRook, R::f, kShortCastling);
      }
      if (!ended && (held_ & R::longRight) && b[R::d] == kEmpty && b[R::c] == kEmpty &&
          b[R::b] == kEmpty) {
        ended = Castle(R::d, R::c, R::longRook, R::d, kLongCastling);
      }
    }
    pos_.rights |= held_;
    return ended;
  }

  // The pawn becomes a knight, queen, rook and bishop in its own cell before each move.
  bool Promotions(CellCode *from, CellCode *to) {
    const CellCode man = *from & ~kKindMask;
    bool ended = false;
    for (CellCode kind : kPromotionKinds) {
      *from = man | kind;
      if (Try(from, to, kPromotion)) {
        ended = true;
        break;
      }
    }
    *from = man | kPawn;
    return ended;
  }

  bool PromotingPawnMoves(CellCode *from) {
    if (from[R::ahead] == kEmpty && Promotions(from, from + R::ahead))
      return true;
    if (IsEnemy(from[R::leftFront]) && Promotions(from, from + R::leftFront))
      return true;
    return IsEnemy(from[R::rightFront]) && Promotions(from, from + R::rightFront);
  }

  // The pawn that has just made a double step stands beside this one: take it in passing.
  bool EnPassant(CellCode *from) {
    const PlyRecord &last = pos_.ply[-1];
    if (!(last.flags & kDoubleStep) || (last.to != from + 10 && last.to != from - 10)) {
      return false;
    }
    CellCode *const victim = last.to;
    if constexpr (requires { v_.Wants(from, victim, kEnPassant); }) {
      if (!v_.Wants(from, victim + R::ahead, kEnPassant | kCapture))
        return false;
    }
    // The victim stands on rank 4 or 5, never on a rook corner, so no right can go with it.
    PlyRecord &p = *pos_.ply;
    p.capturedCode = *victim;
    p.capturedCell = victim;
    pos_.men[*victim & kNumberMask] = nullptr;
    *victim = kEmpty;
    // Two squares empty at once: only the full test sees an attack along the rank.
    return Try<true, true>(from, victim + R::ahead, kEnPassant | kCapture);
  }

  bool PawnSteps(CellCode *from) {
    if (from[R::ahead] == kEmpty && Try(from, from + R::ahead, 0))
      return true;
    if (IsEnemy(from[R::leftFront]) && Try(from, from + R::leftFront, 0))
      return true;
    return IsEnemy(from[R::rightFront]) && Try(from, from + R::rightFront, 0);
  }

  bool UnmovedPawnMoves(CellCode *from) {
    *from &= ~kUnmoved;
    bool ended = from[R::ahead] == kEmpty && from[2 * R::ahead] == kEmpty &&
                 Try(from, from + 2 * R::ahead, kDoubleStep);
    if (!ended)
      ended = PawnSteps(from);
    *from |= kUnmoved;
    return ended;
  }

  bool PawnMoves(CellCode *from) {
    if (from[2 * R::ahead] == kBorder)
      return PromotingPawnMoves(from);
    return EnPassant(from) || PawnSteps(from);
  }

  bool ManMoves(CellCode *from) {
    if constexpr (requires { v_.WantsMan(from); }) {
      if (!v_.WantsMan(from))
        return false;
    }
    const CellCode kind = *from & kKindMask;

    switch (kind) {
    case kKnight:
      return Jumps<false>(from, kKnightJumps);
    case kRook:
      return RookMoves(from);
    case kBishop:
    case kQueen:
      return SliderMoves(from, kind);
    case kPawn:
      return PawnMoves(from);
    case kUnmovedPawn:
      return UnmovedPawnMoves(from);
    case kKing:
      return KingMoves(from);
    default:
      return false;
    }
  }

  Position &pos_;
  V &v_;
  const std::uint32_t held_; // the side's rights when this level began
  const KingSafety<S> safety_;
};

template <Side S, class V> inline bool GenerateMoves(Position &pos, V &visitor) {
  return MoveGenerator<S, V>(pos, visitor).Run();
}

} // namespace engine
