// Conversions for scripts: a problem file as FEN and depth, and a problem file written from a
// FEN, as the window would save the same board.
#pragma once

#include "problem/fen.h"

#include <optional>
#include <string>

namespace cli {

// "FEN\nN\n": the position and the number of moves of the mate.
std::string FenAndDepth(const problem::FenPosition &position, int moves);

// Writes `path` with the board, a ticked castling box for each right of the position, the
// depth of a mate in `moves` and the comment (line breaks stored as the window stores them).
// False with a one-line `error` when the window could not show the problem as given: moves
// outside its slider, a comment longer than a file holds or with a character the file's code
// page lacks, or a file that cannot be written.
bool WriteProblem(const std::string &path, const problem::FenPosition &position, int moves,
                  const std::optional<std::string> &comment, std::string &error);

} // namespace cli
