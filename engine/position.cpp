#include "engine/engine.h"
#include "engine/state.h"

#include <algorithm>

namespace engine {

EngineState state;

namespace {

constexpr CellCode kManCells[13] = {
    kEmpty,           kWhite | kPawn,  kWhite | kRook, kWhite | kKnight, kWhite | kBishop,
    kWhite | kQueen,  kWhite | kKing,  kBlack | kPawn, kBlack | kRook,   kBlack | kKnight,
    kBlack | kBishop, kBlack | kQueen, kBlack | kKing,
};

const std::atomic<bool> kNeverStop{false};

// The board starts in the cleared state, as a freshly loaded engine must.
struct ClearedAtLoad {
  ClearedAtLoad() { ClearBoard(); }
} clearedAtLoad;

bool IsSquare(int index) {
  return index >= 0 && index < kBoardCells - 2 * kBorderOffset && index % 10 < 8;
}

} // namespace

void PlaceMan(int file, int rank, int manCode) {
  if (file < 0 || file > 7 || rank < 0 || rank > 7 || manCode < 0 || manCode > 12)
    return;
  CellCode cell = kManCells[manCode];
  // A pawn on its home rank has not moved yet and may make the double step.
  if ((manCode == kWhitePawn && rank == 1) || (manCode == kBlackPawn && rank == 6)) {
    cell |= kUnmoved;
  }
  Cell(SquareIndex(file, rank)) = cell;
}

void ClearBoard() {
  for (int index = -kBorderOffset; index < kBoardCells - kBorderOffset; ++index) {
    Cell(index) = IsSquare(index) ? kEmpty : kBorder;
  }
  state.rights = 0;
}

void PrepareTask(int depth) {
  // Record 0 stands for the move before the task; a negative depth still needs it and record 1.
  state.plyStack.assign(static_cast<std::size_t>(std::max(2 * depth + 4, 4)), PlyRecord{});
  state.ply = state.plyStack.data();
  state.movesLeft = depth;
  state.nodes = 0;
  state.stopRequest = &kNeverStop;

  int whiteMen = 0;
  int allMen = 0;
  int whiteKings = 0;
  int blackKings = 0;
  for (int file = 0; file < 8; ++file) {
    for (int rank = 0; rank < 8; ++rank) {
      const CellCode cell = Cell(SquareIndex(file, rank));
      if (cell == kEmpty)
        continue;
      ++allMen;
      const bool white = (cell & kWhite) != 0;
      whiteMen += white;
      if ((cell & kKindMask) == kKing)
        (white ? whiteKings : blackKings) += 1;
    }
  }
  state.whiteMen = whiteMen;
  state.allMen = allMen;
  state.oneKingEach = whiteKings == 1 && blackKings == 1;
  std::fill(std::begin(state.men), std::end(state.men), nullptr);

  int nextWhite = whiteMen;
  int nextBlack = whiteMen + 1;
  for (int file = 0; file < 8; ++file) {
    for (int rank = 0; rank < 8; ++rank) {
      CellCode &cell = Cell(SquareIndex(file, rank));
      if (cell == kEmpty)
        continue;
      const bool white = (cell & kWhite) != 0;
      const bool king = (cell & kKindMask) == kKing;
      int number;
      if (king) {
        number = white ? 1 : allMen;
      } else {
        number = white ? nextWhite-- : nextBlack++;
      }
      cell = (cell & ~kNumberMask) | static_cast<CellCode>(number);
      state.men[number] = &cell;
    }
  }
}

std::uint64_t NodeCount() { return state.nodes; }

} // namespace engine
