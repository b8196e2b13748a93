// Placement, clearing and the preparation that numbers the men, read straight off the
// engine's one position.
#include "engine/state.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>

namespace {

using engine::Cell;
using engine::CellCode;
using engine::state;

std::vector<CellCode> AllCells() { return {std::begin(state.cells), std::end(state.cells)}; }

TEST(ClearBoard, EmptiesEverySquareAndWallsEveryOtherCell) {
  testing_support::PlaceFen("r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1");
  state.rights = 15;
  engine::ClearBoard();

  std::set<int> squares;
  for (int file = 0; file < 8; ++file) {
    for (int rank = 0; rank < 8; ++rank)
      squares.insert(10 * file + rank);
  }
  for (int index = -21; index <= 98; ++index) {
    EXPECT_EQ(Cell(index), squares.count(index) ? 0x0000u : 0xC000u) << "index " << index;
  }
  EXPECT_EQ(state.rights, 0u);
}

struct PlacementCase {
  const char *name;
  int file;
  int rank;
  int manCode;
  CellCode cell;
};

// Only a pawn on its own home rank is marked as not yet moved.
const PlacementCase kPlacements[] = {
    {"WhitePawnOnA2IsUnmoved", 0, 1, 1, 0x5800},
    {"WhitePawnOnA3", 0, 2, 1, 0x4800},
    {"WhitePawnOnA7", 0, 6, 1, 0x4800},
    {"BlackPawnOnH7IsUnmoved", 7, 6, 7, 0x9800},
    {"BlackPawnOnH6", 7, 5, 7, 0x8800},
    {"BlackPawnOnH2", 7, 1, 7, 0x8800},
    {"WhiteRook", 3, 3, 2, 0x4200},
    {"WhiteKnight", 3, 3, 3, 0x4400},
    {"WhiteBishop", 3, 3, 4, 0x4100},
    {"WhiteQueen", 3, 3, 5, 0x4300},
    {"WhiteKing", 3, 3, 6, 0x6800},
    {"BlackRook", 3, 3, 8, 0x8200},
    {"BlackKnight", 3, 3, 9, 0x8400},
    {"BlackBishop", 3, 3, 10, 0x8100},
    {"BlackQueen", 3, 3, 11, 0x8300},
    {"BlackKing", 3, 3, 12, 0xA800},
};

class PlaceManCode : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlaceManCode, WritesTheCellCodeOfTheMan) {
  const PlacementCase &c = GetParam();
  engine::ClearBoard();
  engine::PlaceMan(c.file, c.rank, c.manCode);
  EXPECT_EQ(Cell(10 * c.file + c.rank), c.cell);
}

INSTANTIATE_TEST_SUITE_P(ManCodes, PlaceManCode, ::testing::ValuesIn(kPlacements),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PlaceMan, ReplacesWhatStoodThereAndZeroEmptiesTheSquare) {
  engine::ClearBoard();
  engine::PlaceMan(2, 4, 5);
  engine::PlaceMan(2, 4, 9);
  EXPECT_EQ(Cell(24), 0x8400u);
  engine::PlaceMan(2, 4, 0);
  EXPECT_EQ(Cell(24), 0u);
}

struct OutOfRange {
  int file;
  int rank;
  int manCode;
};

TEST(PlaceMan, IgnoresValuesOutsideTheBoardAndTheManCodes) {
  const OutOfRange kCases[] = {{0, 0, 13}, {0, 0, -1}, {8, 0, 1},
                               {0, 8, 1},  {-1, 0, 1}, {0, -1, 1}};
  testing_support::PlaceFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  const std::vector<CellCode> before = AllCells();
  for (const OutOfRange &c : kCases) {
    engine::PlaceMan(c.file, c.rank, c.manCode);
    EXPECT_EQ(AllCells(), before) << "file " << c.file << " rank " << c.rank << " man "
                                  << c.manCode;
  }
}

// The number of the man standing on a square, as written into the low byte of its cell.
int NumberOn(int index) { return static_cast<int>(Cell(index) & 0xFF); }

TEST(PrepareTask, NumbersWhiteFromWDownAndBlackFromWPlusOneKingsAtTheEnds) {
  engine::ClearBoard();
  engine::PlaceMan(4, 0, 6);  // Ke1
  engine::PlaceMan(0, 0, 2);  // Ra1
  engine::PlaceMan(1, 0, 3);  // Nb1
  engine::PlaceMan(4, 7, 12); // ke8
  engine::PlaceMan(0, 6, 7);  // pa7
  engine::PrepareTask(2);

  EXPECT_EQ(state.whiteMen, 3);
  EXPECT_EQ(state.allMen, 5);
  const int a1 = 0, b1 = 10, e1 = 40, a7 = 6, e8 = 47;
  EXPECT_EQ(NumberOn(a1), 3);
  EXPECT_EQ(NumberOn(b1), 2);
  EXPECT_EQ(NumberOn(e1), 1);
  EXPECT_EQ(NumberOn(a7), 4);
  EXPECT_EQ(NumberOn(e8), 5);
  for (int index : {a1, b1, e1, a7, e8}) {
    EXPECT_EQ(state.men[NumberOn(index)], &Cell(index)) << "index " << index;
  }
  // The mark of the unmoved pawn survives the numbering.
  EXPECT_EQ(Cell(a7), 0x9804u);
}

TEST(PrepareTask, TwoLoneKingsAreNumberedOneAndTwo) {
  testing_support::PlaceFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  engine::PrepareTask(1);
  EXPECT_EQ(state.whiteMen, 1);
  EXPECT_EQ(state.allMen, 2);
  EXPECT_EQ(NumberOn(40), 1);
  EXPECT_EQ(NumberOn(47), 2);
}

TEST(PrepareTask, RenumbersOverTheNumbersOfAnEarlierTask) {
  engine::ClearBoard();
  engine::PlaceMan(4, 0, 6);
  engine::PlaceMan(0, 0, 2);
  engine::PlaceMan(1, 0, 3);
  engine::PlaceMan(4, 7, 12);
  engine::PlaceMan(0, 6, 7);
  engine::PrepareTask(1);
  engine::PlaceMan(2, 1, 1); // Pc2 joins between Nb1 and Ke1 in board order
  engine::PrepareTask(1);

  EXPECT_EQ(state.whiteMen, 4);
  EXPECT_EQ(state.allMen, 6);
  EXPECT_EQ(NumberOn(0), 4);
  EXPECT_EQ(NumberOn(10), 3);
  EXPECT_EQ(NumberOn(21), 2);
  EXPECT_EQ(NumberOn(40), 1);
  EXPECT_EQ(NumberOn(6), 5);
  EXPECT_EQ(NumberOn(47), 6);
}

TEST(PrepareTask, AllocatesTwoRecordsPerMovePlusFourAndStartsAtAnEmptyRecordZero) {
  testing_support::PlaceFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  engine::PrepareTask(3);
  EXPECT_EQ(state.plyStack.size(), 10u);
  EXPECT_EQ(state.ply, state.plyStack.data());
  EXPECT_EQ(state.plyStack[0].flags, 0u);
  EXPECT_EQ(state.movesLeft, 3);
}

} // namespace
