// Where the side to move can give check from, judged before a move is made: the fast search
// makes only checking moves where nothing else can mate. Internal to the engine.
#pragma once

#include "engine/lines.h"
#include "engine/sides.h"

namespace engine {

// Moves whose check is judged on the board, after they are made.
inline constexpr std::uint32_t kJudgedOnTheBoard =
    kEnPassant | kShortCastling | kLongCastling | kPromotion;

// Where the side to move can give check from: for each kind of man the squares from which it
// attacks the enemy king, and the men whose leaving opens a line of an own slider onto it.
// Worked out once per level, it judges each move before it is made. A slider that would check
// through the square it leaves would already be giving check, which the side to move never
// is; so the squares along each line from the king up to the first man are all there is.
template <Side S> class CheckSquares {
  using R = SideRules<S>;

public:
  explicit CheckSquares(const Position &pos) : pos_(pos), king_(R::EnemyKing(pos)) {
    knight_ = ReachFrom(king_).knight;
    pawn_ = SquareBit(king_ - R::leftFront) | SquareBit(king_ - R::rightFront);
    Lines(kDiagonalRays, kDiagonalSlider, diagonal_);
    Lines(kOrthogonalRays, kOrthogonalSlider, orthogonal_);
  }

  // Exact for ordinary moves. Castling and en passant, which move two men, and promotions,
  // where a pawn that blocked a line can check along it as a new slider, answer yes and are
  // judged on the board.
  bool MayGiveCheck(const CellCode *from, const CellCode *to, std::uint32_t flags) const {
    if (flags & kJudgedOnTheBoard)
      return true;
    const std::uint64_t target = SquareBit(to);
    switch (*from & kKindMask) {
    case kKnight:
      if (knight_ & target)
        return true;
      break;
    case kPawn:
    case kUnmovedPawn:
      if (pawn_ & target)
        return true;
      break;
    case kBishop:
      if (diagonal_ & target)
        return true;
      break;
    case kRook:
      if (orthogonal_ & target)
        return true;
      break;
    case kQueen:
      if ((diagonal_ | orthogonal_) & target)
        return true;
      break;
    default:
      break;
    }
    return (discoverers_ & SquareBit(from)) &&
           LineThrough(king_, to).step != LineThrough(king_, from).step;
  }

  // Can a move of the slider on `from` along the ray `step` give check?
  bool MayCheckAlong(const CellCode *from, int step) const {
    if (discoverers_ & SquareBit(from))
      return true;
    const CellCode kind = *from & kKindMask;
    const std::uint64_t squares =
        (kind & kDiagonalSlider ? diagonal_ : 0) | (kind & kOrthogonalSlider ? orthogonal_ : 0);
    return squares & RayMask(from, step);
  }

  // Can any move of the man on `from` give check? A quick no for most men. A king checks only
  // by castling, when the rook lands on a checking square; a pawn's few moves and promotions
  // are judged one by one.
  bool MayCheckFrom(const CellCode *from) const {
    if (discoverers_ & SquareBit(from))
      return true;
    if ((*from & kKindMask) == kKing)
      return (pos_.rights & R::rights) != 0;
    return MayReach(from, knight_, diagonal_, orthogonal_, true);
  }

private:
  void Lines(const int (&steps)[4], CellCode slider, std::uint64_t &squares) {
    for (int step : steps) {
      const CellCode *c = king_ + step;
      for (; *c == kEmpty; c += step)
        squares |= SquareBit(c);
      squares |= SquareBit(c); // a capture there checks too; SquareBit of the border is 0
      if ((*c & kColourMask) == R::own && Holds(FirstOnRay(c, step), R::own | slider)) {
        discoverers_ |= SquareBit(c);
      }
    }
  }

  const Position &pos_;
  const CellCode *const king_;
  std::uint64_t knight_ = 0;
  std::uint64_t pawn_ = 0;
  std::uint64_t diagonal_ = 0;
  std::uint64_t orthogonal_ = 0;
  std::uint64_t discoverers_ = 0;
};

} // namespace engine
