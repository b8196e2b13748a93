// Directmate tasks on the reference rules, phrased the way a problemist states them: the keys
// of a mate in N with White to move, or Black's defences with Black to move, each written as
// the solver's 10-character solution line, and the task's result.
#pragma once

#include "tests/reference/chess_rules.h"

#include <string>
#include <vector>

namespace reference {

enum TaskResultCode {
  kRan = 0,
  kStalemate = 1,       // the side to move has no move and is not in check
  kOpponentInCheck = 2, // the side not to move stands in check
  kDepthBelowOne = 3,
  kMated = 4, // the side to move has no move and is in check
};

struct TaskAnswer {
  int result = kRan;
  std::vector<std::string> lines; // in the order the moves are tried
};

// White to move: the first moves after which White mates in at most `depth` moves, the key
// included, whatever Black does. Black to move: the moves after which White cannot mate in
// `depth` - 1. A stalemate is never a mate.
TaskAnswer SolveTask(const Position &position, int depth);

// White to move mates in at most `moves` moves.
bool WhiteForcesMate(const Position &position, int moves);
// Black to move is mated now, or every reply runs into a mate in `whiteMovesLeft`.
bool BlackIsLost(const Position &position, int whiteMovesLeft);

// "Ng1-f3    ", " e7-e8=Q #", "  0-0-0  +": man, squares, capture, promotion, check or mate.
std::string SolutionLine(const Position &position, const Move &move);

} // namespace reference
