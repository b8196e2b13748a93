// Reading and writing a position in Forsyth-Edwards Notation.
#pragma once

#include "problem/board.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace problem {

struct FenPosition {
  Board board{};
  bool whiteToMove = true;
  std::uint32_t castlingRights = 0; // only rights whose king and rook stand at home
};

// Parses placement, side to move and castling field; the en-passant field is checked for form
// and otherwise ignored, the move counters may be missing. On a malformed FEN returns false
// and sets `error` to a one-line reason.
bool ParseFen(std::string_view fen, FenPosition &position, std::string &error);

// The position as a FEN: placement, side to move, the castling letters of its rights (only
// those whose king and rook stand at home), no en-passant square, counters "0 1".
std::string FormatFen(const FenPosition &position);

} // namespace problem
