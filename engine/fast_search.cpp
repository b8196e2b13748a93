// The accelerated mate search. Its answers are those of WhiteMates and BlackEscapes; what
// changes is how much of the tree it looks at:
// - White's last move can mate only by giving check, so only moves that can give check are
//   made there, and Black's answer to a move that gives no check is settled without a move;
// - proven results are kept in a table by position, with the monotone bounds on moves left;
// - White looks for short mates first (iterative deepening) and tries checks and captures
//   before quiet moves; Black tries first the reply that refuted a sibling at the same ply.
// Beneath the root the order of moves cannot change an answer, only its cost.
#include "engine/fast_search.h"

#include "engine/generator.h"
#include "engine/zobrist.h"

#include <algorithm>

namespace engine {

namespace {

// Not destroyed at exit, for the same reason as the engine's state.
MateTable &table = *new MateTable;

struct Killer {
  const CellCode *from = nullptr;
  const CellCode *to = nullptr;
  CellCode kind = 0;
};
LastingArray<Killer> killers; // one per ply record

Killer &KillerHere() { return killers[state.ply - state.plyStack.data()]; }

bool IsKiller(const Killer &killer, const CellCode *from, const CellCode *to) {
  return killer.from == from && killer.to == to && killer.kind == (*from & kKindMask);
}

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
  explicit CheckSquares(const CellCode *king) : king_(king) {
    knight_ = ReachFrom(king).knight;

    pawn_ = SquareBit(king - R::leftFront) | SquareBit(king - R::rightFront);
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
      return (state.rights & R::rights) != 0;
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

  const CellCode *const king_;
  std::uint64_t knight_ = 0;
  std::uint64_t pawn_ = 0;
  std::uint64_t diagonal_ = 0;
  std::uint64_t orthogonal_ = 0;
  std::uint64_t discoverers_ = 0;
};

// Side S to move, in check, its king unable to step: has another man a legal move? Only men
// that can reach a square taking or blocking the one checker are looked at.
template <Side S> struct AnyMove {

  const CellCode *king;
  std::uint64_t evasions = 0;

  bool WantsMan(const CellCode *from) {
    return from != king && MayReach(from, evasions, evasions, evasions, evasions != 0);
  }
  void Make() { MakeMove(); }
  bool Visit() {
    UnmakeMove();
    return true;
  }
};

LastingArray<int> flights; // by ply: the king's last way out of a check there

// A step of the king of side S on the current record, made and taken back: is it legal?
template <Side S> bool KingCanStep(CellCode *king, int step) {
  CellCode *const to = king + step;
  if (*to & SideRules<S>::own)
    return false; // an own man or the border
  PlyRecord &p = *state.ply;
  p.from = king;
  p.to = to;
  p.flags = 0;
  ++state.nodes;
  MakeMove();
  const bool legal = !SideRules<S>::KingAttacked();
  UnmakeMove();
  return legal;
}

// Side S to move and in check: is it mated? The king's steps come first, the one that was a
// way out last time at this ply before the others, and need nothing of the generator; the
// other men only when the king cannot move, and only those that can reach a square taking
// or blocking the checker.
template <Side S> bool MatedInCheck() {
  ++state.ply;
  int &flight = flights[state.ply - state.plyStack.data()];
  CellCode *const king = SideRules<S>::King();
  bool escapes = flight != 0 && KingCanStep<S>(king, flight);
  for (int i = 0; i < 8 && !escapes; ++i) {
    if (kKingSteps[i] != flight && KingCanStep<S>(king, kKingSteps[i])) {
      flight = kKingSteps[i];
      escapes = true;
    }
  }
  if (!escapes) {
    AnyMove<S> visitor{king};
    MoveGenerator<S, AnyMove<S>> moves(visitor);
    visitor.evasions = moves.Safety().Evasions();
    escapes = moves.Run();
  }
  --state.ply;
  return !escapes;
}

// Black to move after White's last move: only mate keeps Black from escaping.
bool BlackCheckmated() {
  ++state.ply;
  const bool inCheck = KingSafety<Side::Black>().InCheck();
  --state.ply;
  return inCheck && MatedInCheck<Side::Black>();
}

struct MatingCheck {
  CheckSquares<Side::White> checks;
  bool WantsMan(const CellCode *from) { return checks.MayCheckFrom(from); }
  bool WantsRay(const CellCode *from, int step) { return checks.MayCheckAlong(from, step); }
  bool Wants(const CellCode *from, const CellCode *to, std::uint32_t flags) {
    return checks.MayGiveCheck(from, to, flags);
  }
  void Make() { MakeMove(); }
  bool Visit() {
    // Moves let through unjudged must really check.
    const bool special = state.ply->flags & kJudgedOnTheBoard;

    const bool mates = (!special || BlackKingAttacked()) && MatedInCheck<Side::Black>();
    UnmakeMove();
    return mates;
  }
};

bool WhiteMatesInOne() {
  ++state.ply;
  state.ply->flags = 0;
  MatingCheck visitor{CheckSquares<Side::White>(state.men[state.allMen])};
  const bool mates = MoveGenerator<Side::White, MatingCheck>(visitor).Run();
  --state.ply;
  return mates;
}

bool WhiteMatesWithin(int movesLeft, const NodeKey &key);

// White to move with exactly `movesLeft` (at least 3): checks, then captures, then the rest.
struct MatingMove {
  int movesLeft;
  NodeKey key;
  std::uint32_t rights;
  CheckSquares<Side::White> checks;
  int pass = 0;

  bool WantsMan(const CellCode *from) { return pass != 0 || checks.MayCheckFrom(from); }
  bool WantsRay(const CellCode *from, int step) {
    return pass != 0 || checks.MayCheckAlong(from, step);
  }

  bool Wants(const CellCode *from, const CellCode *to, std::uint32_t flags) {
    const bool check = checks.MayGiveCheck(from, to, flags);
    if (pass == 0)
      return check;
    return !check && (pass == 1) == (*to != kEmpty);
  }
  void Make() { MakeMove(); }
  bool Visit() {
    const bool escapes = FastBlackEscapes(movesLeft - 1, ChildKey(true, key, rights));
    UnmakeMove();
    return !escapes;
  }
};

// Asks the memory for the table entries of every position White's moves lead to, before any
// of them is searched, so that their probes do not wait one after the other. The keys are
// worked out without making the moves; where a move does more than take a man from one square
// to another (castling, en passant, lost rights), a wrong guess only fetches a useless line.
struct TableWarmer {
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

bool WhiteMovesMate(int movesLeft, const NodeKey &key) {
  ++state.ply;
  state.ply->flags = 0;
  TableWarmer warmer{key};

  MoveGenerator<Side::White, TableWarmer>(warmer).Run();

  MatingMove visitor{movesLeft, key, state.rights,
                     CheckSquares<Side::White>(state.men[state.allMen])};
  MoveGenerator<Side::White, MatingMove> moves(visitor);
  bool mates = false;
  for (; visitor.pass < 3 && !mates; ++visitor.pass)
    mates = moves.Run();
  --state.ply;
  return mates;
}

// A mate in one is looked for first: it is cheap and often there. Every answer goes to the
// table, as a bound that serves any number of moves on its side of it.
bool WhiteMatesWithin(int movesLeft, const NodeKey &key) {
  if (StopRequested())
    return false;
  if (movesLeft <= 1)
    return false;
  if (movesLeft == 2)
    return WhiteMatesInOne();
  MateTable::Bounds bounds = table.Probe(key.hash);
  if (movesLeft >= bounds.mateAt)
    return true;
  if (movesLeft <= bounds.safeUpTo)
    return false;
  if (bounds.safeUpTo < 2) {
    if (WhiteMatesInOne()) {
      table.Store(key.hash, {2, bounds.safeUpTo});
      return true;
    }
    bounds.safeUpTo = 2;
  }
  const bool mates = WhiteMovesMate(movesLeft, key);
  if (StopRequested())
    return false;
  if (mates) {
    bounds.mateAt = movesLeft;
  } else {
    bounds.safeUpTo = movesLeft;
  }
  table.Store(key.hash, bounds);
  return mates;
}

// Black to move: the reply that refuted a sibling first, then the others.
struct EscapingReply {
  int movesLeft;
  NodeKey key;
  std::uint32_t rights;
  Killer killer;
  bool killerPass = true;
  bool anyLegal = false;

  // The killer pass looks only at the killer's man, and at the king, whose moves include
  // castling, where the rook's move is the one recorded.
  bool WantsMan(const CellCode *from) {
    return !killerPass || from == killer.from || (*from & kKindMask) == kKing;
  }
  bool Wants(const CellCode *from, const CellCode *to, std::uint32_t) {
    return IsKiller(killer, from, to) == killerPass;
  }
  void Make() { MakeMove(); }
  bool Visit() {
    const PlyRecord &p = *state.ply;

    const Killer reply{p.from, p.to, *p.to & kKindMask};
    const bool mated = WhiteMatesWithin(movesLeft, ChildKey(false, key, rights));
    UnmakeMove();
    anyLegal = true;
    if (mated)
      return false;
    KillerHere() = reply;
    return true;
  }
};

} // namespace

NodeKey PositionKey(bool blackToMove) {
  std::uint64_t hash = RightsKey(state.rights);
  for (int n = 1; n <= state.allMen; ++n) {
    if (state.men[n] != nullptr)
      hash ^= ManKey(*state.men[n], state.men[n]);
  }
  if (blackToMove)
    hash ^= BlackToMoveKey();
  NodeKey key{hash, -1};
  // A pawn that has just made its double step with an enemy pawn beside it can be taken.
  const PlyRecord &last = state.ply[-1];
  if (last.from != nullptr && (last.flags & kDoubleStep)) {
    const CellCode enemyPawn = (blackToMove ? kBlack : kWhite) | kPawn;
    if (Holds(last.to[10], enemyPawn) || Holds(last.to[-10], enemyPawn)) {
      key.enPassantFile = IndexOf(last.to) / 10;
      key.hash ^= EnPassantKey(key.enPassantFile);
    }
  }
  return key;
}

NodeKey ChildKey(bool whiteMoved, const NodeKey &parent, std::uint32_t parentRights) {
  const PlyRecord &p = *state.ply;
  const CellCode arrived = *p.to;
  const CellCode departed = (p.flags & kPromotion) ? ((arrived & kColourMask) | kPawn) : arrived;
  std::uint64_t hash =
      parent.hash ^ BlackToMoveKey() ^ ManKey(departed, p.from) ^ ManKey(arrived, p.to);
  if (parent.enPassantFile >= 0)
    hash ^= EnPassantKey(parent.enPassantFile);
  if (p.flags & kCapture)
    hash ^= ManKey(p.capturedCode, p.capturedCell);
  if (p.flags & (kShortCastling | kLongCastling)) {
    const bool white = whiteMoved;
    const int home = white ? kE1 : kE8;
    const int target = (p.flags & kShortCastling) ? (white ? kG1 : kG8) : (white ? kC1 : kC8);
    const CellCode king = Board()[target];
    hash ^= ManKey(king, Board() + home) ^ ManKey(king, Board() + target);
  }
  if (parentRights != state.rights)
    hash ^= RightsKey(parentRights) ^ RightsKey(state.rights);
  NodeKey child{hash, -1};
  if (p.flags & kDoubleStep) {
    const CellCode enemyPawn = (whiteMoved ? kBlack : kWhite) | kPawn;
    if (Holds(p.to[10], enemyPawn) || Holds(p.to[-10], enemyPawn)) {
      child.enPassantFile = IndexOf(p.to) / 10;
      child.hash ^= EnPassantKey(child.enPassantFile);
    }
  }
  return child;
}

bool FastWhiteMates(int movesLeft, const NodeKey &key) { return WhiteMatesWithin(movesLeft, key); }

bool FastBlackEscapes(int movesLeft, const NodeKey &key) {
  if (StopRequested())
    return true;
  if (movesLeft <= 1)
    return !BlackCheckmated();
  MateTable::Bounds bounds = table.Probe(key.hash);
  if (movesLeft >= bounds.mateAt)
    return false;
  if (movesLeft <= bounds.safeUpTo)
    return true;
  ++state.ply;
  state.ply->flags = 0;
  EscapingReply visitor{movesLeft, key, state.rights, KillerHere()};
  MoveGenerator<Side::Black, EscapingReply> replies(visitor);
  bool escaped = replies.Run();
  if (!escaped) {
    visitor.killerPass = false;
    escaped = replies.Run();
  }
  const bool inCheck = replies.InCheck();
  --state.ply;
  if (StopRequested())
    return true;
  if (!escaped)
    escaped = !visitor.anyLegal && !inCheck;
  if (escaped) {
    bounds.safeUpTo = movesLeft;
  } else {
    bounds.mateAt = movesLeft;
  }
  table.Store(key.hash, bounds);
  return escaped;
}

void PrepareFastSearch(int megabytes) {
  table.Resize(static_cast<std::size_t>(std::max(megabytes, 1)));
  table.NewTask();
  killers.assign(state.plyStack.size(), Killer{});
  flights.assign(state.plyStack.size(), 0);
}

MateTable &FastSearchTable() { return table; }

} // namespace engine
