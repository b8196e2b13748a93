#include "tests/reference/directmate.h"

#include <cctype>

namespace reference {

namespace {

std::string SquareText(Square s) {
  return {static_cast<char>('a' + s.file), static_cast<char>('1' + s.rank)};
}

} // namespace

bool WhiteForcesMate(const Position &position, int moves) {
  if (moves < 1)
    return false;
  for (const Move &move : LegalMoves(position)) {
    if (BlackIsLost(Play(position, move), moves - 1))
      return true;
  }
  return false;
}

bool BlackIsLost(const Position &position, int whiteMovesLeft) {
  if (whiteMovesLeft < 1)
    return !HasLegalMove(position) && KingAttacked(position, false);
  const std::vector<Move> replies = LegalMoves(position);
  if (replies.empty())
    return KingAttacked(position, false);
  for (const Move &reply : replies) {
    if (!WhiteForcesMate(Play(position, reply), whiteMovesLeft))
      return false;
  }
  return true;
}

TaskAnswer SolveTask(const Position &position, int depth) {
  const bool white = position.whiteToMove;
  TaskAnswer answer;
  if (KingAttacked(position, !white)) {
    answer.result = kOpponentInCheck;
    return answer;
  }
  if (depth < 1) {
    answer.result = kDepthBelowOne;
    return answer;
  }
  const std::vector<Move> moves = LegalMoves(position);
  if (moves.empty()) {
    answer.result = KingAttacked(position, white) ? kMated : kStalemate;
    return answer;
  }
  for (const Move &move : moves) {
    const Position after = Play(position, move);
    const bool solves = white ? BlackIsLost(after, depth - 1) : !WhiteForcesMate(after, depth - 1);
    if (solves)
      answer.lines.push_back(SolutionLine(position, move));
  }
  return answer;
}

std::string SolutionLine(const Position &position, const Move &move) {
  std::string line(10, ' ');
  if (move.kind == MoveKind::ShortCastling) {
    line.replace(0, 5, "  0-0");
  } else if (move.kind == MoveKind::LongCastling) {
    line.replace(0, 7, "  0-0-0");
  } else {
    const char kind =
        static_cast<char>(std::toupper(static_cast<unsigned char>(position.At(move.from))));
    line[0] = kind == 'P' ? ' ' : kind;
    line.replace(1, 2, SquareText(move.from));
    line[3] = position.At(move.to) == '.' && move.kind != MoveKind::EnPassant ? '-' : 'x';
    line.replace(4, 2, SquareText(move.to));
    if (move.promotion != 0) {
      line[6] = '=';
      line[7] = move.promotion;
    }
  }
  const Position after = Play(position, move);
  if (KingAttacked(after, after.whiteToMove))
    line[9] = HasLegalMove(after) ? '+' : '#';
  return line;
}

} // namespace reference
