// The text of a key or defence: man, start square, "-" or "x", target square, promotion and
// the check or mate mark, always 10 characters.
#include "engine/generator.h"
#include "engine/search.h"

namespace engine {

namespace {

struct AnyLegalMove {
  Position &pos;
  void Make() { MakeMove(pos); }
  bool Visit() {
    UnmakeMove(pos);
    return true;
  }
};

template <Side S> bool HasLegalMove(Position &pos) {
  ++pos.ply;
  AnyLegalMove visitor{pos};
  const bool found = GenerateMoves<S>(pos, visitor);
  --pos.ply;
  return found;
}

char ManLetter(CellCode code) {
  switch (code & kKindMask) {
  case kBishop:
    return 'B';
  case kRook:
    return 'R';
  case kQueen:
    return 'Q';
  case kKnight:
    return 'N';
  case kKing:
    return 'K';
  default:
    return ' ';
  }
}

void PutSquare(SolutionLine &line, int at, const CellCode *cell) {
  const int index = IndexOf(cell);
  line[at] = "abcdefgh"[index / 10];
  line[at + 1] = "12345678"[index % 10];
}

} // namespace

SolutionLine BuildSolutionLine(Position &pos, CellCode arrivingMan) {
  PlyRecord &p = *pos.ply;
  const CellCode moved = *p.from;
  const bool whiteMoves = (moved & kWhite) != 0;

  MakeMove(pos);
  *p.to = arrivingMan;
  // Taken back, a capture in passing has put its pawn back beside the target; for the test it
  // goes again (taking back puts it back once more).
  const bool enPassant = p.flags & kEnPassant;
  if (enPassant) {
    pos.men[p.capturedCode & kNumberMask] = nullptr;
    *p.capturedCell = kEmpty;
  }
  const bool check = whiteMoves ? BlackKingAttacked(pos) : WhiteKingAttacked(pos);
  const bool mate =
      check && (whiteMoves ? !HasLegalMove<Side::Black>(pos) : !HasLegalMove<Side::White>(pos));
  UnmakeMove(pos);
  *p.from = moved;

  SolutionLine line;
  line.fill(' ');
  // A promoting pawn already wears its new kind on the start square; the line shows a pawn.
  if (!(p.flags & kPromotion))
    line[0] = ManLetter(moved);
  PutSquare(line, 1, p.from);
  line[3] = '-';
  PutSquare(line, 4, p.to);
  if (p.flags & (kShortCastling | kLongCastling)) {
    line[0] = ' ';
    line[1] = ' ';
    line[2] = '0';
    line[4] = '0';
    line[5] = ' ';
    if (p.flags & kLongCastling) {
      line[5] = '-';
      line[6] = '0';
    }
  }
  if (*p.to != kEmpty || enPassant)
    line[3] = 'x';
  if (mate) {
    line[9] = '#';
  } else if (check) {
    line[9] = '+';
  }
  if (p.flags & kPromotion) {
    line[6] = '=';
    line[7] = ManLetter(arrivingMan);
  }
  return line;
}

} // namespace engine
