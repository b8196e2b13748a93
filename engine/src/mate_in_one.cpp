#include "engine/mate_in_one.h"

#include "engine/check_squares.h"
#include "engine/generator.h"

namespace engine {

namespace {

// Side S to move, in check, its king unable to step: has another man a legal move? Only men
// that can reach a square taking or blocking the one checker are looked at.
template <Side S> struct AnyMove {
  Position &pos;
  const CellCode *king;
  std::uint64_t evasions = 0;

  bool WantsMan(const CellCode *from) {
    return from != king && MayReach(from, evasions, evasions, evasions, evasions != 0);
  }
  void Make() { MakeMove(pos); }
  bool Visit() {
    UnmakeMove(pos);
    return true;
  }
};

// A step of the king of side S on the current record, made and taken back: is it legal?
template <Side S>
[[gnu::always_inline]] inline bool KingCanStep(Position &pos, CellCode *king, int step) {
  CellCode *const to = king + step;
  if (*to & SideRules<S>::own)
    return false; // an own man or the border
  PlyRecord &p = *pos.ply;
  p.from = king;
  p.to = to;
  p.flags = 0;
  ++pos.nodes;
  MakeMove(pos);
  const bool legal = !SideRules<S>::KingAttacked(pos);
  UnmakeMove(pos);
  return legal;
}

// Side S to move and in check: is it mated? The king's steps come first, the one that was a
// way out last time at this ply before the others, and need nothing of the generator; the
// other men only when the king cannot move, and only those that can reach a square taking
// or blocking the checker.
template <Side S> bool MatedInCheck(SearchContext &ctx) {
  Position &pos = ctx.position;
  ++pos.ply;
  int &flight = ctx.flights[pos.PlyIndex()];
  CellCode *const king = SideRules<S>::King(pos);
  bool escapes = flight != 0 && KingCanStep<S>(pos, king, flight);
  for (int i = 0; i < 8 && !escapes; ++i) {
    if (kKingSteps[i] != flight && KingCanStep<S>(pos, king, kKingSteps[i])) {
      flight = kKingSteps[i];
      escapes = true;
    }
  }
  if (!escapes) {
    AnyMove<S> visitor{pos, king};
    MoveGenerator<S, AnyMove<S>> moves(pos, visitor);
    visitor.evasions = moves.Safety().Evasions();
    escapes = moves.Run();
  }
  --pos.ply;
  return !escapes;
}

struct MatingCheck {
  SearchContext &ctx;
  CheckSquares<Side::White> checks;
  bool WantsMan(const CellCode *from) { return checks.MayCheckFrom(from); }
  bool WantsRay(const CellCode *from, int step) { return checks.MayCheckAlong(from, step); }
  bool Wants(const CellCode *from, const CellCode *to, std::uint32_t flags) {
    return checks.MayGiveCheck(from, to, flags);
  }
  void Make() { MakeMove(ctx.position); }
  bool Visit() {
    Position &pos = ctx.position;
    // Moves let through unjudged must really check.
    const bool special = pos.ply->flags & kJudgedOnTheBoard;
    const bool mates = (!special || BlackKingAttacked(pos)) && MatedInCheck<Side::Black>(ctx);
    UnmakeMove(pos);
    return mates;
  }
};

} // namespace

bool BlackCheckmated(SearchContext &ctx) {
  Position &pos = ctx.position;
  ++pos.ply;
  const bool inCheck = KingSafety<Side::Black>(pos).InCheck();
  --pos.ply;
  return inCheck && MatedInCheck<Side::Black>(ctx);
}

bool WhiteMatesInOne(SearchContext &ctx) {
  Position &pos = ctx.position;
  ++pos.ply;
  pos.ply->flags = 0;
  MatingCheck visitor{ctx, CheckSquares<Side::White>(pos)};
  const bool mates = MoveGenerator<Side::White, MatingCheck>(pos, visitor).Run();
  --pos.ply;
  return mates;
}

} // namespace engine
