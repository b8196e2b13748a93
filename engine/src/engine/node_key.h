// A position's key in the table of proven results: a Zobrist hash of everything that decides a
// mate search's answer besides the moves left, worked out from scratch at a root and from the
// parent's key for every move made beneath it. Internal to the engine.
#pragma once

#include "engine/position.h"

#include <cstdint>

namespace engine {

// Its hash (men, side to move, working rights, capture in passing) and the file on which a
// capture in passing is possible, -1 for none.
struct NodeKey {
  std::uint64_t hash;
  int enPassantFile;
};

// The key of the position on the board; the last move is the record below the current one.
NodeKey PositionKey(const Position &pos, bool blackToMove);
// The key after the side that moved made the move of the current record, from the key before
// it and the rights the side held when its level began.
NodeKey ChildKey(const Position &pos, bool whiteMoved, const NodeKey &parent,
                 std::uint32_t parentRights);

} // namespace engine
