// Whether the side to move stands in check, who gives it, and whether a move just made leaves
// the mover's king attacked: worked out once per level so that most moves need only a glance
// along one line instead of a full search for attackers.
#pragma once

#include "engine/lines.h"
#include "engine/sides.h"

namespace engine {

template <Side S> class KingSafety {
  using R = SideRules<S>;

public:
  // Examines the position the level begins with; the opponent's last move is the record
  // below the current one.
  explicit KingSafety(const Position &pos) : pos_(pos), king_(R::King(pos)) { ExamineCheck(); }

  bool InCheck() const { return inCheck_; }
  const CellCode *King() const { return king_; }
  // In check, a man other than the king that does not land here leaves the king in check.
  bool CannotEvade(const CellCode *to) const { return inCheck_ && !(evasions_ & SquareBit(to)); }
  // In check: the squares that take or block the one checker (none against two).
  std::uint64_t Evasions() const { return evasions_; }

  // Legality after the move is made. Another man than the king, moving while the king is not
  // in check, can only uncover an attack along the line from the king through the square it
  // left; in check it must also land on a square that takes or blocks the one checker. The
  // king's own moves and en passant (two squares emptied at once) get the full test.
  template <bool anyMan> bool Exposed(const CellCode *from, const CellCode *to) const {
    if (anyMan)
      return R::KingAttacked(pos_);
    if (inCheck_ && !(evasions_ & SquareBit(to)))
      return true;
    const LineStep line = LineThrough(king_, from);
    return line.step != 0 && Holds(FirstOnRay(king_, line.step), R::enemy | line.slider);
  }

private:
  // Finds the men giving check, from the opponent's last move alone where that is enough:
  // the man that arrived, and the line that the square it left opens. Castling, en passant
  // and the position a task starts from (no last move) get the full search for attackers.
  void ExamineCheck() {
    const PlyRecord &last = pos_.ply[-1];
    if (last.from == nullptr || (last.flags & (kEnPassant | kShortCastling | kLongCastling))) {
      if constexpr (S == Side::White) {
        ForEachWhiteKingAttacker(pos_, [this](const CellCode *c) { return AddChecker(c); });
      } else {
        ForEachBlackKingAttacker(pos_, [this](const CellCode *c) { return AddChecker(c); });
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

  const Position &pos_;
  const CellCode *const king_;
  bool inCheck_ = false;
  std::uint64_t evasions_ = 0; // in check: where a man other than the king must land
};

} // namespace engine
