// WhiteMates and BlackEscapes: every move in generation order, nothing remembered.
#include "engine/search.h"

#include "engine/generator.h"

namespace engine {

namespace {

struct MatingMove {
  SearchContext &ctx;
  void Make() { MakeMove(ctx.position); }
  bool Visit() {
    const bool escapes = BlackEscapes(ctx);
    UnmakeMove(ctx.position);
    return !escapes;
  }
};

struct EscapingReply {
  SearchContext &ctx;
  bool anyLegal = false;
  void Make() { MakeMove(ctx.position); }
  bool Visit() {
    const bool mated = WhiteMates(ctx);
    UnmakeMove(ctx.position);
    anyLegal = true;
    return !mated;
  }
};

} // namespace

bool WhiteMates(SearchContext &ctx) {
  // A stop answers "no mate" here and "escape" below, so nothing unproven becomes a solution.
  if (ctx.StopRequested())
    return false;
  Position &pos = ctx.position;
  ++pos.ply;
  pos.ply->flags = 0;
  const int movesLeft = pos.movesLeft;
  pos.movesLeft = movesLeft - 1;
  bool mates = false;
  if (movesLeft > 1) {
    MatingMove visitor{ctx};
    mates = GenerateMoves<Side::White>(pos, visitor);
  }
  pos.movesLeft = movesLeft;
  --pos.ply;
  return mates;
}

bool BlackEscapes(SearchContext &ctx) {
  if (ctx.StopRequested())
    return true;
  Position &pos = ctx.position;
  ++pos.ply;
  pos.ply->flags = 0;
  EscapingReply visitor{ctx};
  MoveGenerator<Side::Black, EscapingReply> replies(pos, visitor);
  const bool escaped = replies.Run();
  --pos.ply;
  if (escaped)
    return true;
  // No legal reply: stalemate is an escape, checkmate is not.
  return !visitor.anyLegal && !replies.InCheck();
}

} // namespace engine
