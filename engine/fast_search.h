// The accelerated searches beneath a task's root. They give exactly the answers of WhiteMates
// and BlackEscapes for the same position and moves left; only the way there is shorter (see
// docs/SEARCH.md). Internal to the engine.
#pragma once

#include "engine/mate_table.h"

#include <cstdint>

namespace engine {

// A position's key: its hash (men, side to move, working rights, capture in passing) and the
// file on which a capture in passing is possible, -1 for none.
struct NodeKey {
  std::uint64_t hash;
  int enPassantFile;
};

// The key of the position on the board, worked out from scratch; the last move is the record
// below the current one.
NodeKey PositionKey(bool blackToMove);
// The key after the side that moved made the move of the current record, from the key before
// it and the rights the side held when its level began.
NodeKey ChildKey(bool whiteMoved, const NodeKey &parent, std::uint32_t parentRights);

// The same answers as WhiteMates() and BlackEscapes() with state.movesLeft = movesLeft.
bool FastWhiteMates(int movesLeft, const NodeKey &key);
bool FastBlackEscapes(int movesLeft, const NodeKey &key);

// Prepares the table for a task: sized to `megabytes`, earlier results forgotten.
void PrepareFastSearch(int megabytes);
MateTable &FastSearchTable();

} // namespace engine
