// A second opinion on the rules of chess, kept apart from the engine on purpose: a plain 8x8
// array copied for every move and a move generator of its own. It is slow and plainly right,
// which is all it is for; nothing here may come from engine/.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace reference {

struct Square {
  int file = 0; // 0..7 = a..h
  int rank = 0; // 0..7 = 1..8
  friend bool operator==(const Square &, const Square &) = default;
};

enum class MoveKind { Ordinary, DoubleStep, EnPassant, ShortCastling, LongCastling };

struct Move {
  Square from;      // the king's square for castling
  Square to;        // the king's target for castling
  char promotion{}; // 'N', 'Q', 'R' or 'B' for a promotion, else 0
  MoveKind kind = MoveKind::Ordinary;
};

// Castling rights in FEN order.
enum Right { kWhiteShort, kWhiteLong, kBlackShort, kBlackLong };

struct Position {
  // board[file][rank]: FEN letters, '.' for an empty square.
  std::array<std::array<char, 8>, 8> board{};
  bool whiteToMove = true;
  std::array<bool, 4> rights{};
  // The file of the pawn that has just made a double step, -1 when the last move was none.
  int doubleStepFile = -1;

  char At(Square s) const { return board[s.file][s.rank]; }
};

// Placement, side to move and castling field of a FEN; a right counts only for a king and rook
// on their home squares. A task never starts with an en-passant capture: no double step is
// assumed before it.
Position FromFen(const std::string &fen);

bool IsWhite(char man);
bool IsBlack(char man);

// Is `square` attacked by a man of the given colour?
bool Attacked(const Position &position, Square square, bool byWhite);
// Does the king of the given colour stand attacked?
bool KingAttacked(const Position &position, bool white);

// The legal moves of the side to move in the order a directmate solver tries them: the men
// square by square a1, a2, ..., a8, b1, ..., h8 with the king last; per man its moves in the
// fixed order of its kind (see chess_rules.cpp).
std::vector<Move> LegalMoves(const Position &position);
bool HasLegalMove(const Position &position);

Position Play(const Position &position, const Move &move);

std::uint64_t Perft(const Position &position, int depth);

} // namespace reference
