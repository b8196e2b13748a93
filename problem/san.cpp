#include "problem/san.h"

#include "engine/man_codes.h"
#include "problem/solution_text.h"

#include <cstdlib>
#include <vector>

namespace problem {

namespace {

constexpr int kKindsPerSide = engine::kBlackPawn - engine::kWhitePawn;

bool IsWhite(int man) { return man >= engine::kWhitePawn && man <= engine::kWhiteKing; }
bool IsBlack(int man) { return man >= engine::kBlackPawn && man <= engine::kBlackKing; }

// The white ManCode of the man's kind.
int KindOf(int man) { return IsBlack(man) ? man - kKindsPerSide : man; }

char KindLetter(int man) {
  switch (KindOf(man)) {
  case engine::kWhiteKnight:
    return 'N';
  case engine::kWhiteBishop:
    return 'B';
  case engine::kWhiteRook:
    return 'R';
  case engine::kWhiteQueen:
    return 'Q';
  case engine::kWhiteKing:
    return 'K';
  default:
    return ' ';
  }
}

int FileOf(int square) { return square / 8; }
int RankOf(int square) { return square % 8; }

// Whether the man on `from` could go to `to` on this board if its own king were not
// concerned. Pawns never need telling apart by more than their file, so they are not asked.
bool Reaches(const Board &board, int from, int to) {
  const int df = FileOf(to) - FileOf(from);
  const int dr = RankOf(to) - RankOf(from);
  const int kind = KindOf(board[from]);
  if (kind == engine::kWhiteKnight)
    return std::abs(df * dr) == 2;
  if (kind == engine::kWhiteKing)
    return from != to && std::abs(df) <= 1 && std::abs(dr) <= 1;
  const bool straight = (df == 0) != (dr == 0);
  const bool diagonal = df != 0 && std::abs(df) == std::abs(dr);
  const bool slides = (kind == engine::kWhiteRook && straight) ||
                      (kind == engine::kWhiteBishop && diagonal) ||
                      (kind == engine::kWhiteQueen && (straight || diagonal));
  if (!slides)
    return false;
  const int step = 8 * (df > 0) - 8 * (df < 0) + (dr > 0) - (dr < 0);
  for (int square = from + step; square != to; square += step) {
    if (board[square] != engine::kNoMan)
      return false;
  }
  return true;
}

bool Attacked(const Board &board, int square, bool byWhite) {
  for (int from = 0; from < 64; ++from) {
    const int man = board[from];
    if (byWhite ? !IsWhite(man) : !IsBlack(man))
      continue;
    if (KindOf(man) == engine::kWhitePawn) {
      const int ahead = byWhite ? 1 : -1;
      if (std::abs(FileOf(square) - FileOf(from)) == 1 && RankOf(square) - RankOf(from) == ahead)
        return true;
    } else if (Reaches(board, from, square)) {
      return true;
    }
  }
  return false;
}

bool LeavesKingSafe(Board board, int from, int to) {
  const bool white = IsWhite(board[from]);
  board[to] = board[from];
  board[from] = engine::kNoMan;
  const int king = white ? engine::kWhiteKing : engine::kBlackKing;
  for (int square = 0; square < 64; ++square) {
    if (board[square] == king)
      return !Attacked(board, square, !white);
  }
  return true;
}

// The file, the rank or both of the start square, when another man of the same kind and side
// could go to the same square as well.
std::string Disambiguation(const Board &board, int from, int to) {
  std::vector<int> rivals;
  for (int square = 0; square < 64; ++square) {
    if (square != from && board[square] == board[from] && Reaches(board, square, to) &&
        LeavesKingSafe(board, square, to))
      rivals.push_back(square);
  }
  if (rivals.empty())
    return {};
  bool fileShared = false;
  bool rankShared = false;
  for (const int square : rivals) {
    fileShared = fileShared || FileOf(square) == FileOf(from);
    rankShared = rankShared || RankOf(square) == RankOf(from);
  }
  const char file = static_cast<char>('a' + FileOf(from));
  const char rank = static_cast<char>('1' + RankOf(from));
  if (!fileShared)
    return {file};
  if (!rankShared)
    return {rank};
  return {file, rank};
}

} // namespace

std::string SanMove(const Board &board, bool whiteMoves, std::string_view line) {
  SolutionMove move;
  if (!ReadSolutionLine(line, whiteMoves, move))
    return {};
  const int man = board[move.from];
  if (whiteMoves ? !IsWhite(man) : !IsBlack(man))
    return {};
  std::string san;
  if (move.kind != SolutionMove::Kind::Plain) {
    if (KindOf(man) != engine::kWhiteKing)
      return {};
    san = move.kind == SolutionMove::Kind::LongCastling ? "O-O-O" : "O-O";
  } else if (KindLetter(man) != move.man) {
    return {};
  } else if (move.man == ' ') {
    if (move.capture)
      san = {static_cast<char>('a' + FileOf(move.from)), 'x'};
    san += SquareName(move.to);
    if (move.promotion != 0)
      san += {'=', move.promotion};
  } else {
    san = move.man + Disambiguation(board, move.from, move.to) + (move.capture ? "x" : "") +
          SquareName(move.to);
  }
  if (move.mark != 0)
    san += move.mark;
  return san;
}

} // namespace problem
