// The accelerated mate search. Its answers are those of WhiteMates and BlackEscapes; what
// changes is how much of the tree it looks at:
// - White's last move can mate only by giving check (mate_in_one.cpp);
// - proven results are kept in a table by position, with the monotone bounds on moves left;
// - White looks for a mate in one first and tries checks and captures before quiet moves;
//   Black tries first the reply that refuted a sibling at the same ply;
// - with several threads on one problem, a move leading to a position another thread is
//   proving waits until the other moves are done.
// Beneath the root the order of moves cannot change an answer, only its cost.
#include "engine/fast_search.h"

#include "engine/check_squares.h"
#include "engine/generator.h"
#include "engine/mate_in_one.h"
#include "engine/zobrist.h"

#include <type_traits>

namespace engine {

namespace {

// Positions this close to mate are proven faster than their marks would pay for.
constexpr int kSharedMovesLeft = 4;

bool IsKiller(const Killer &killer, const CellCode *from, const CellCode *to) {
  return killer.from == from && killer.to == to && killer.kind == (*from & kKindMask);
}

// The moves of one node put off because another thread is proving where they lead; they are
// searched last. A full list searches the rest at once.
class DeferredMoves {
public:
  // Whether the move just made leads to a position another thread is proving, and so waits.
  // Black's first reply never waits: it is the likely refutation, and every other reply would
  // be searched in vain if it is one.
  bool PutOff(const SearchContext &ctx, int movesLeft, const NodeKey &child, bool blackMoved) {
    const PlyRecord &p = *ctx.position.ply;
    if (movesLeft < kSharedMovesLeft || (blackMoved && searched_ == 0) ||
        !ctx.busy->Has(child.hash) || count_ == kCapacity) {
      ++searched_;
      return false;
    }
    moves_[count_++] = {p.from, p.to, p.flags & kMoveKinds, *p.to & kKindMask};
    return true;
  }
  bool Empty() const { return count_ == 0; }
  bool Contains(const CellCode *from, const CellCode *to, std::uint32_t flags) const {
    for (int i = 0; i < count_; ++i) {
      const Move &m = moves_[i];
      if (m.from == from && m.to == to && m.flags == (flags & kMoveKinds) &&
          m.kind == (*from & kKindMask))
        return true;
    }
    return false;
  }

private:
  // What the generator says of a move before it is made; making it may add a capture.
  static constexpr std::uint32_t kMoveKinds =
      kDoubleStep | kEnPassant | kPromotion | kShortCastling | kLongCastling;
  struct Move {
    const CellCode *from;
    const CellCode *to;
    std::uint32_t flags;
    CellCode kind; // a promoting pawn's new kind
  };
  static constexpr int kCapacity = 16;
  Move moves_[kCapacity];
  int count_ = 0;
  int searched_ = 0; // moves of the node searched so far, those put off not counted
};

// A thread alone puts nothing off.
struct NoDeferral {
  bool PutOff(const SearchContext &, int, const NodeKey &, bool) { return false; }
  bool Empty() const { return true; }
  bool Contains(const CellCode *, const CellCode *, std::uint32_t) const { return false; }
};

template <bool Shared> using Deferral = std::conditional_t<Shared, DeferredMoves, NoDeferral>;

// Marks the position as being proven by this thread for as long as it lives.
class BusyMark {
public:
  BusyMark(SearchContext &ctx, int movesLeft, std::uint64_t key)
      : busy_(movesLeft >= kSharedMovesLeft && ctx.busy->Enter(key) ? ctx.busy : nullptr),
        key_(key) {}
  ~BusyMark() {
    if (busy_ != nullptr)
      busy_->Leave(key_);
  }
  BusyMark(const BusyMark &) = delete;
  BusyMark &operator=(const BusyMark &) = delete;

private:
  BusyMarks *const busy_;
  const std::uint64_t key_;
};

bool Probe(SearchContext &ctx, const NodeKey &key, MateTable::Bounds &bounds) {
  ++ctx.probes;
  const bool found = ctx.table->Probe(key.hash, bounds);
  ctx.hits += found;
  return found;
}

void Store(SearchContext &ctx, const NodeKey &key, const MateTable::Bounds &bounds) {
  ctx.table->Store(key.hash, bounds);
  ctx.NoteStore();
}

template <bool Shared> bool WhiteMatesWithin(SearchContext &ctx, int movesLeft, const NodeKey &key);
template <bool Shared>
bool BlackEscapesWithin(SearchContext &ctx, int movesLeft, const NodeKey &key);

// White to move with exactly `movesLeft` (at least 3): checks, then captures, then the rest,
// then what was put off.
template <bool Shared> struct MatingMove {
  enum Pass { kChecks, kCaptures, kQuiet, kPutOff };

  SearchContext &ctx;
  int movesLeft;
  NodeKey key;
  std::uint32_t rights;
  CheckSquares<Side::White> checks;
  int pass = kChecks;
  [[no_unique_address]] Deferral<Shared> deferred;

  bool WantsMan(const CellCode *from) { return pass != kChecks || checks.MayCheckFrom(from); }
  bool WantsRay(const CellCode *from, int step) {
    return pass != kChecks || checks.MayCheckAlong(from, step);
  }
  bool Wants(const CellCode *from, const CellCode *to, std::uint32_t flags) {
    if (Shared && pass == kPutOff)
      return deferred.Contains(from, to, flags);
    const bool check = checks.MayGiveCheck(from, to, flags);
    if (pass == kChecks)
      return check;
    return !check && (pass == kCaptures) == (*to != kEmpty);
  }
  void Make() { MakeMove(ctx.position); }
  bool Visit() {
    const NodeKey child = ChildKey(ctx.position, true, key, rights);
    if (pass != kPutOff && deferred.PutOff(ctx, movesLeft - 1, child, false)) {
      UnmakeMove(ctx.position);
      return false;
    }
    const bool escapes = BlackEscapesWithin<Shared>(ctx, movesLeft - 1, child);
    UnmakeMove(ctx.position);
    return !escapes;
  }
};

// Asks the memory for the table entries of every position White's moves lead to, before any
// of them is searched, so that their probes do not wait one after the other. The keys are
// worked out without making the moves; where a move does more than take a man from one square
// to another (castling, en passant, lost rights), a wrong guess only fetches a useless line.
struct TableWarmer {
  const MateTable &table;
  NodeKey key;
  bool Wants(const CellCode *from, const CellCode *to, std::uint32_t flags) {
    const CellCode departed = flags & kPromotion ? (*from & kColourMask) | kPawn : *from;
    std::uint64_t hash = key.hash ^ BlackToMoveKey() ^ ManKey(departed, from) ^ ManKey(*from, to);
    if (*to != kEmpty)
      hash ^= ManKey(*to, to);
    if (key.enPassantFile >= 0)
      hash ^= EnPassantKey(key.enPassantFile);
    table.Prefetch(hash);
    return false;
  }
  void Make() {}
  bool Visit() { return false; }
};

template <bool Shared> bool WhiteMovesMate(SearchContext &ctx, int movesLeft, const NodeKey &key) {
  Position &pos = ctx.position;
  ++pos.ply;
  pos.ply->flags = 0;
  TableWarmer warmer{*ctx.table, key};
  MoveGenerator<Side::White, TableWarmer>(pos, warmer).Run();

  using Visitor = MatingMove<Shared>;
  Visitor visitor{ctx, movesLeft, key, pos.rights, CheckSquares<Side::White>(pos)};
  MoveGenerator<Side::White, Visitor> moves(pos, visitor);
  bool mates = false;
  for (; visitor.pass <= Visitor::kPutOff && !mates; ++visitor.pass) {
    if (visitor.pass < Visitor::kPutOff || !visitor.deferred.Empty())
      mates = moves.Run();
  }
  --pos.ply;
  return mates;
}

// Black to move: the reply that refuted a sibling first, then the others, then what was put
// off.
template <bool Shared> struct EscapingReply {
  enum Pass { kKiller, kOthers, kPutOff };

  SearchContext &ctx;
  int movesLeft;
  NodeKey key;
  std::uint32_t rights;
  Killer killer;
  int pass = kKiller;
  bool anyLegal = false;
  [[no_unique_address]] Deferral<Shared> deferred;

  // The killer pass looks only at the killer's man, and at the king, whose moves include
  // castling, where the rook's move is the one recorded.
  bool WantsMan(const CellCode *from) {
    return pass != kKiller || from == killer.from || (*from & kKindMask) == kKing;
  }
  bool Wants(const CellCode *from, const CellCode *to, std::uint32_t flags) {
    if (Shared && pass == kPutOff)
      return deferred.Contains(from, to, flags);
    return IsKiller(killer, from, to) == (pass == kKiller);
  }
  void Make() { MakeMove(ctx.position); }
  bool Visit() {
    Position &pos = ctx.position;
    const PlyRecord &p = *pos.ply;
    anyLegal = true;
    const NodeKey child = ChildKey(pos, false, key, rights);
    if (pass != kPutOff && deferred.PutOff(ctx, movesLeft, child, true)) {
      UnmakeMove(pos);
      return false;
    }
    const Killer reply{p.from, p.to, *p.to & kKindMask};
    const bool mated = WhiteMatesWithin<Shared>(ctx, movesLeft, child);
    UnmakeMove(pos);
    if (mated)
      return false;
    ctx.killers[pos.PlyIndex()] = reply;
    return true;
  }
};

// A mate in one is looked for first: it is cheap and often there. Every answer goes to the
// table, as a bound that serves any number of moves on its side of it.
template <bool Shared>
bool WhiteMatesWithin(SearchContext &ctx, int movesLeft, const NodeKey &key) {
  if (ctx.StopRequested())
    return false;
  if (movesLeft <= 1)
    return false;
  if (movesLeft == 2)
    return WhiteMatesInOne(ctx);
  MateTable::Bounds bounds;
  Probe(ctx, key, bounds);
  if (movesLeft >= bounds.mateAt)
    return true;
  if (movesLeft <= bounds.safeUpTo)
    return false;
  if (bounds.safeUpTo < 2) {
    if (WhiteMatesInOne(ctx)) {
      Store(ctx, key, {2, bounds.safeUpTo});
      return true;
    }
    bounds.safeUpTo = 2;
  }
  bool mates;
  if constexpr (Shared) {
    const BusyMark mark(ctx, movesLeft, key.hash);
    mates = WhiteMovesMate<Shared>(ctx, movesLeft, key);
  } else {
    mates = WhiteMovesMate<Shared>(ctx, movesLeft, key);
  }
  if (ctx.StopRequested())
    return false;
  if (mates) {
    bounds.mateAt = movesLeft;
  } else {
    bounds.safeUpTo = movesLeft;
  }
  Store(ctx, key, bounds);
  return mates;
}

template <bool Shared>
bool BlackRepliesEscape(SearchContext &ctx, int movesLeft, const NodeKey &key) {
  Position &pos = ctx.position;
  ++pos.ply;
  pos.ply->flags = 0;
  using Visitor = EscapingReply<Shared>;
  Visitor visitor{ctx, movesLeft, key, pos.rights, ctx.killers[pos.PlyIndex()]};
  MoveGenerator<Side::Black, Visitor> replies(pos, visitor);
  bool escaped = false;
  for (; visitor.pass <= Visitor::kPutOff && !escaped; ++visitor.pass) {
    if (visitor.pass < Visitor::kPutOff || !visitor.deferred.Empty())
      escaped = replies.Run();
  }
  const bool inCheck = replies.InCheck();
  --pos.ply;
  // No legal reply: stalemate is an escape, checkmate is not.
  return escaped || (!visitor.anyLegal && !inCheck);
}

template <bool Shared>
bool BlackEscapesWithin(SearchContext &ctx, int movesLeft, const NodeKey &key) {
  if (ctx.StopRequested())
    return true;
  if (movesLeft <= 1)
    return !BlackCheckmated(ctx);
  MateTable::Bounds bounds;
  Probe(ctx, key, bounds);
  if (movesLeft >= bounds.mateAt)
    return false;
  if (movesLeft <= bounds.safeUpTo)
    return true;
  bool escaped;
  if constexpr (Shared) {
    const BusyMark mark(ctx, movesLeft, key.hash);
    escaped = BlackRepliesEscape<Shared>(ctx, movesLeft, key);
  } else {
    escaped = BlackRepliesEscape<Shared>(ctx, movesLeft, key);
  }
  if (ctx.StopRequested())
    return true;
  if (escaped) {
    bounds.safeUpTo = movesLeft;
  } else {
    bounds.mateAt = movesLeft;
  }
  Store(ctx, key, bounds);
  return escaped;
}

} // namespace

// A thread alone is spared every question about the others.
bool FastWhiteMates(SearchContext &ctx, int movesLeft, const NodeKey &key) {
  return ctx.busy != nullptr ? WhiteMatesWithin<true>(ctx, movesLeft, key)
                             : WhiteMatesWithin<false>(ctx, movesLeft, key);
}

bool FastBlackEscapes(SearchContext &ctx, int movesLeft, const NodeKey &key) {
  return ctx.busy != nullptr ? BlackEscapesWithin<true>(ctx, movesLeft, key)
                             : BlackEscapesWithin<false>(ctx, movesLeft, key);
}

} // namespace engine
