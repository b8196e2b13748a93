#include "engine/position.h"

#include <algorithm>

namespace engine {

namespace {

constexpr CellCode kManCells[13] = {
    kEmpty,           kWhite | kPawn,  kWhite | kRook, kWhite | kKnight, kWhite | kBishop,
    kWhite | kQueen,  kWhite | kKing,  kBlack | kPawn, kBlack | kRook,   kBlack | kKnight,
    kBlack | kBishop, kBlack | kQueen, kBlack | kKing,
};

bool IsSquare(int index) {
  return index >= 0 && index < kBoardCells - 2 * kBorderOffset && index % 10 < 8;
}

} // namespace

void Position::PlaceMan(int file, int rank, int manCode) {
  if (file < 0 || file > 7 || rank < 0 || rank > 7 || manCode < 0 || manCode > 12)
    return;
  CellCode cell = kManCells[manCode];
  // A pawn on its home rank has not moved yet and may make the double step.
  if ((manCode == kWhitePawn && rank == 1) || (manCode == kBlackPawn && rank == 6)) {
    cell |= kUnmoved;
  }
  Cell(SquareIndex(file, rank)) = cell;
}

void Position::ClearBoard() {
  for (int index = -kBorderOffset; index < kBoardCells - kBorderOffset; ++index) {
    Cell(index) = IsSquare(index) ? kEmpty : kBorder;
  }
  rights = 0;
}

void Position::Load(const Placement &placement) {
  ClearBoard();
  for (int square = 0; square < 64; ++square) {
    if (placement[square] != kNoMan)
      PlaceMan(square / 8, square % 8, placement[square]);
  }
}

void Position::PrepareTask(int depth) {
  // Record 0 stands for the move before the task; a negative depth still needs it and record 1.
  plyStack.assign(static_cast<std::size_t>(std::max(2 * depth + 4, 4)), PlyRecord{});
  ply = plyStack.data();
  movesLeft = depth;
  nodes = 0;

  int white = 0;
  int all = 0;
  int whiteKings = 0;
  int blackKings = 0;
  for (int file = 0; file < 8; ++file) {
    for (int rank = 0; rank < 8; ++rank) {
      const CellCode cell = Cell(SquareIndex(file, rank));
      if (cell == kEmpty)
        continue;
      ++all;
      const bool isWhite = (cell & kWhite) != 0;
      white += isWhite;
      if ((cell & kKindMask) == kKing)
        (isWhite ? whiteKings : blackKings) += 1;
    }
  }
  whiteMen = white;
  allMen = all;
  oneKingEach = whiteKings == 1 && blackKings == 1;
  std::fill(std::begin(men), std::end(men), nullptr);

  int nextWhite = white;
  int nextBlack = white + 1;
  for (int file = 0; file < 8; ++file) {
    for (int rank = 0; rank < 8; ++rank) {
      CellCode &cell = Cell(SquareIndex(file, rank));
      if (cell == kEmpty)
        continue;
      const bool isWhite = (cell & kWhite) != 0;
      const bool king = (cell & kKindMask) == kKing;
      int number;
      if (king) {
        number = isWhite ? 1 : all;
      } else {
        number = isWhite ? nextWhite-- : nextBlack++;
      }
      cell = (cell & ~kNumberMask) | static_cast<CellCode>(number);
      men[number] = &cell;
    }
  }
}

} // namespace engine
