#include "engine/node_key.h"

#include "engine/moves.h"
#include "engine/zobrist.h"

namespace engine {

namespace {

// A pawn that has just made its double step with an enemy pawn beside it can be taken.
int EnPassantFile(const PlyRecord &move, bool whiteMoved) {
  if (move.from == nullptr || !(move.flags & kDoubleStep))
    return -1;
  const CellCode enemyPawn = (whiteMoved ? kBlack : kWhite) | kPawn;
  if (Holds(move.to[10], enemyPawn) || Holds(move.to[-10], enemyPawn))
    return IndexOf(move.to) / 10;
  return -1;
}

} // namespace

NodeKey PositionKey(const Position &pos, bool blackToMove) {
  std::uint64_t hash = RightsKey(pos.rights);
  for (int n = 1; n <= pos.allMen; ++n) {
    if (pos.men[n] != nullptr)
      hash ^= ManKey(*pos.men[n], pos.men[n]);
  }
  if (blackToMove)
    hash ^= BlackToMoveKey();
  NodeKey key{hash, EnPassantFile(pos.ply[-1], blackToMove)};
  if (key.enPassantFile >= 0)
    key.hash ^= EnPassantKey(key.enPassantFile);
  return key;
}

NodeKey ChildKey(const Position &pos, bool whiteMoved, const NodeKey &parent,
                 std::uint32_t parentRights) {
  const PlyRecord &p = *pos.ply;
  const CellCode arrived = *p.to;
  const CellCode departed = (p.flags & kPromotion) ? ((arrived & kColourMask) | kPawn) : arrived;
  std::uint64_t hash =
      parent.hash ^ BlackToMoveKey() ^ ManKey(departed, p.from) ^ ManKey(arrived, p.to);
  if (parent.enPassantFile >= 0)
    hash ^= EnPassantKey(parent.enPassantFile);
  if (p.flags & kCapture)
    hash ^= ManKey(p.capturedCode, p.capturedCell);
  if (p.flags & (kShortCastling | kLongCastling)) {
    const int home = whiteMoved ? kE1 : kE8;
    const int target =
        (p.flags & kShortCastling) ? (whiteMoved ? kG1 : kG8) : (whiteMoved ? kC1 : kC8);
    const CellCode *const b = pos.Board();
    const CellCode king = b[target];
    hash ^= ManKey(king, b + home) ^ ManKey(king, b + target);
  }
  if (parentRights != pos.rights)
    hash ^= RightsKey(parentRights) ^ RightsKey(pos.rights);
  NodeKey child{hash, EnPassantFile(p, whiteMoved)};
  if (child.enPassantFile >= 0)
    child.hash ^= EnPassantKey(child.enPassantFile);
  return child;
}

} // namespace engine
