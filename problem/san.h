// Standard algebraic notation of a solution, as collections (EPD "bm") print it: "Qe7", "Nbd2",
// "exd5", "e8=Q+", "O-O". The engine's line brings the move and its check or mate mark; the
// board before the move decides what else a reader needs to tell it from its neighbours.
#pragma once

#include "problem/board.h"

#include <string>
#include <string_view>

namespace problem {

// Empty when `line` is a notice or does not fit the board (no man of the moving side on its
// start square, or a man of another kind than the line names).
std::string SanMove(const Board &board, bool whiteMoves, std::string_view line);

} // namespace problem
