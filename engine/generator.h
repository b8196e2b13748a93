// Move generation without a move list: every move is written into the current ply record,
// made, tested for the mover's king and handed to a visitor, one at a time, in the fixed
// order that decides the order of the solutions.
//
// A visitor has two members:
//   void Make();   makes the move of the current record (MakeMove, or MakeRootMove at a root)
//   bool Visit();  called for a legal move on the board; takes it back with UnmakeMove and
//                  answers true to end this level at once.
// Run answers true when a visitor ended the level; everything generation changed for the time
// of one man's moves is restored in both endings.
#pragma once

#include "engine/lines.h"
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
  static CellCode *King() { return state.men[1]; }
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
  static CellCode *King() { return state.men[state.allMen]; }
  static bool KingAttacked() { return BlackKingAttacked(); }
};

inline constexpr int kKnightJumps[8] = {-19, -8, 12, 21, 19, 8, -12, -21};
inline constexpr int kKingSteps[8] = {-9, 11, 9, -11, 1, -1, -10, 10};
inline constexpr int kOrthogonalRays[4] = {1, 10, -1, -10};
inline constexpr int kDiagonalRays[4] = {11, 9, -11, -9};
inline constexpr CellCode kPromotionKinds[4] = {kKnight, kQueen, kRook, kBishop};

template <Side S, class V> class MoveGenerator {
  using R = SideRules<S>;

public:
  explicit MoveGenerator(V &visitor)
      : v_(visitor), held_(state.rights & R::rights), king_(R::King()) {
    ExamineCheck();
  }

  // Whether the side to move stood in check when the level began.
  bool InCheck() const { return inCheck_; }

  // White's men are numbered W..1 and Black's W+1..T in board order, the king last of each.
  bool Run() {
    if constexpr (S == Side::White) {
      for (int n = state.whiteMen; n >= 1; --n) {
        CellCode *from = state.men[n];
        if (from != nullptr && ManMoves(from))
          return true;
      }
    } else {
      for (int n = state.whiteMen + 1; n <= state.allMen; ++n) {
        CellCode *from = state.men[n];
        if (from != nullptr && ManMoves(from))
          return true;
      }
    }
    return false;
  }

private:
  // Finds the men giving check, from the opponent's last move alone where that is enough:
  // the man that arrived, and the line that the square it left opens. Castling, en passant
  // and the position a task starts from (no last move) get the full search for attackers.
  void ExamineCheck() {
    const PlyRecord &last = state.ply[-1];
    if (last.from == nullptr || (last.flags & (kEnPassant | kShortCastling | kLongCastling))) {
      if constexpr (S == Side::White) {
        ForEachWhiteKingAttacker([this](const CellCode *c) { return AddChecker(c); });
      } else {
        ForEachBlackKingAttacker([this](const CellCode *c) { return AddChecker(c); });
      }
      return;
    }
    const CellCode *const to = last.to;
    const CellCode arrived = *to;
    bool direct = false;
    switch (arrived & kKindMask) {
    case kKnight:
      direct = IsKnightJump(to, king_);
      break;
    case kPawn:
      // The opponent's pawns strike towards us: from `to` onto our king's square.
      direct = king_ == to - R::rightFront || king_ == to - R::leftFront;
      break;
    case kKing:
      break;
    default: {
      const LineStep line = LineThrough(to, king_);
      direct = line.step != 0 && (arrived & line.slider) && FirstCellOnRay(to, line.step) == king_;
    }
    }
    if (direct)
      AddChecker(to);
    const LineStep opened = LineThrough(king_, last.from);
    if (opened.step != 0) {
      // The arrived man may have slid along the same line; it was judged above.
      const CellCode *c = FirstCellOnRay(king_, opened.step);
      if (c != to && Holds(*c, R::enemy | opened.slider))
        AddChecker(c);
    }
  }

  // One checker can be taken or, if it slides, blocked; against two only the king can move.
  bool AddChecker(const CellCode *checker) {
    evasions_ = 0;
    if (inCheck_)
      return true;
    inCheck_ = true;
    evasions_ = SquareBit(checker);
    const LineStep line = LineThrough(king_, checker);
    if (line.step != 0) {
      for (const CellCode *c = king_ + line.step; c != checker; c += line.step) {
        evasions_ |= SquareBit(c);
      }
    }
    return false;
  }

  static bool IsEnemy(CellCode cell) { return (cell & kColourMask) == R::enemy; }
  static bool IsOwnOrBorder(CellCode cell) { return (cell & R::own) != 0; }

  // Legality after the move is made. Another man than the king, moving while the king is not
  // in check, can only uncover an attack along the line from the king through the square it
  // left; in check it must also land on a square that takes or blocks the one checker. The
  // king's own moves and en passant (two squares emptied at once) get the full test.
  template <bool anyMan> bool KingExposed(const CellCode *from, const CellCode *to) const {
    if (anyMan)
      return R::KingAttacked();
    if (inCheck_ && !(evasions_ & SquareBit(to)))
      return true;
    const LineStep line = LineThrough(king_, from);
    return line.step != 0 && Holds(FirstOnRay(king_, line.step), R::enemy | line.slider);
  }

  template <bool anyMan = false> bool Try(CellCode *from, CellCode *to, std::uint32_t flags) {
    PlyRecord &p = *state.ply;
    p.from = from;
    p.to = to;
    p.flags = flags;
    ++state.nodes;
    v_.Make();
    if (KingExposed<anyMan>(from, to)) {
      UnmakeMove();
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
      if (from == Board() + R::shortRook) {
        state.rights &= ~R::shortRight;
      } else if (from == Board() + R::longRook) {
        state.rights &= ~R::longRight;
      }
    }
    const bool ended = Rays(from, kOrthogonalRays);
    state.rights |= held_;
    return ended;
  }

  // Castling in three steps on one record: the king's first step (refused if it stands
  // attacked there), its second step, then the rook's move, which is the move counted,
  // tested and searched.
  bool Castle(int kingPass, int kingTarget, int rook, int rookTarget, std::uint32_t flag) {
    CellCode *const b = Board();
    PlyRecord &p = *state.ply;
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
    const bool ended = Try<true>(b + rook, b + rookTarget, flag);
    p.from = b + R::kingHome;
    p.to = b + kingTarget;
    p.flags = 0;
    UnmakeMove();
    return ended;
  }

  bool KingMoves(CellCode *from) {
    state.rights &= ~R::rights;
    bool ended = Jumps<true>(from, kKingSteps);
    if (!ended && held_ != 0 && !inCheck_) {
      const CellCode *b = Board();
      if ((held_ & R::shortRight) && b[R::f] == kEmpty && b[R::g] == kEmpty) {
        ended = Castle(R::f, R::g, R::shortRook, R::f, kShortCastling);
      }
      if (!ended && (held_ & R::longRight) && b[R::d] == kEmpty && b[R::c] == kEmpty &&
          b[R::b] == kEmpty) {
        ended = Castle(R::d, R::c, R::longRook, R::d, kLongCastling);
      }
    }
    state.rights |= held_;
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
    const PlyRecord &last = state.ply[-1];
    if (!(last.flags & kDoubleStep) || (last.to != from + 10 && last.to != from - 10)) {
      return false;
    }
    // The victim stands on rank 4 or 5, never on a rook corner, so no right can go with it.
    PlyRecord &p = *state.ply;
    CellCode *const victim = last.to;
    p.capturedCode = *victim;
    p.capturedCell = victim;
    state.men[*victim & kNumberMask] = nullptr;
    *victim = kEmpty;
    // Two squares empty at once: only the full test sees an attack along the rank.
    return Try<true>(from, victim + R::ahead, kEnPassant | kCapture);
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

  V &v_;
  const std::uint32_t held_; // the side's rights when this level began
  const CellCode *const king_;
  bool inCheck_ = false;
  std::uint64_t evasions_ = 0; // in check: where a man other than the king must land
};

template <Side S, class V> inline bool GenerateMoves(V &visitor) {
  return MoveGenerator<S, V>(visitor).Run();
}

} // namespace engine
