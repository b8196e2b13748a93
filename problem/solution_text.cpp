#include "problem/solution_text.h"

#include "problem/board.h"

#include <cctype>

namespace problem {

namespace {

bool ReadSquare(std::string_view text, int &square) {
  if (text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
    return false;
  square = SquareNumber(text[0] - 'a', text[1] - '1');
  return true;
}

} // namespace

std::string SquareName(int square) {
  return {static_cast<char>('a' + square / 8), static_cast<char>('1' + square % 8)};
}

bool ReadSolutionLine(std::string_view line, bool whiteMoves, SolutionMove &move) {
  if (line.size() != 10 || line.rfind(">>", 0) == 0)
    return false;
  SolutionMove read;
  read.mark = line[9] == '+' || line[9] == '#' ? line[9] : 0;
  if (line.substr(0, 6) == "  0-0 " || line.substr(0, 7) == "  0-0-0") {
    const bool isLong = line[5] == '-';
    read.kind = isLong ? SolutionMove::Kind::LongCastling : SolutionMove::Kind::ShortCastling;
    const int rank = whiteMoves ? 0 : 7;
    read.from = SquareNumber(4, rank);
    read.to = SquareNumber(isLong ? 2 : 6, rank);
    move = read;
    return true;
  }
  const std::string_view men = " NBRQK";
  if (men.find(line[0]) == men.npos || (line[3] != '-' && line[3] != 'x') ||
      !ReadSquare(line.substr(1, 2), read.from) || !ReadSquare(line.substr(4, 2), read.to))
    return false;
  read.man = line[0];
  read.capture = line[3] == 'x';
  if (line[6] == '=') {
    if (read.man != ' ' || std::string_view("QRBN").find(line[7]) == std::string_view::npos)
      return false;
    read.promotion = line[7];
  }
  move = read;
  return true;
}

std::string CoordinateMove(std::string_view line, bool whiteMoves) {
  SolutionMove move;
  if (!ReadSolutionLine(line, whiteMoves, move))
    return {};
  std::string text = SquareName(move.from) + SquareName(move.to);
  if (move.promotion != 0)
    text += static_cast<char>(std::tolower(static_cast<unsigned char>(move.promotion)));
  return text;
}

std::string CompactLine(std::string_view line) {
  std::string text;
  if (line.rfind(">>", 0) == 0) {
    text = line.substr(0, line.find_last_not_of(' ') + 1);
    return text;
  }
  for (const char c : line) {
    if (c != ' ')
      text += c;
  }
  return text;
}

} // namespace problem
