// Reading the engine's solution texts: man, start square, "-" or "x", target square, "=" and
// the new man, the check or mate mark in the last column, castling as "0-0" or "0-0-0"; always
// 10 characters. Notices such as ">> STALEMT" are not moves.
#pragma once

#include <string>
#include <string_view>

namespace problem {

struct SolutionMove {
  enum class Kind { Plain, ShortCastling, LongCastling };
  Kind kind = Kind::Plain;
  char man = ' '; // 'N', 'B', 'R', 'Q', 'K', or ' ' for a pawn; ' ' when castling
  int from = 0;   // square numbers as on the board; the king's squares when castling
  int to = 0;
  bool capture = false;
  char promotion = 0; // 'Q', 'R', 'B' or 'N' when a pawn promotes
  char mark = 0;      // '+' for check, '#' for mate
};

// "e4" for square 8 * 4 + 3.
std::string SquareName(int square);

// False for a notice or a text that is not a solution line.
bool ReadSolutionLine(std::string_view line, bool whiteMoves, SolutionMove &move);

// The coordinate form of a solution line ("Ng1-f3    " -> "g1f3", " e7-e8=Q #" -> "e7e8q",
// "  0-0     " -> "e1g1" for White); empty for a notice.
std::string CoordinateMove(std::string_view line, bool whiteMoves);

// The solution line without its blanks ("Qf8-e7   +" -> "Qf8-e7+", "  0-0     " -> "0-0"); a
// notice loses only its trailing blanks.
std::string CompactLine(std::string_view line);

} // namespace problem
