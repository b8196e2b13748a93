// Placement, clearing and the preparation that numbers the men, read straight off a position.
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>

namespace {

using engine::CellCode;
using engine::Position;

std::vector<CellCode> AllCells(const Position &pos) {
  return {pos.Cells(), pos.Cells() + engine::kBoardCells};
}

TEST(ClearBoard, EmptiesEverySquareAndWallsEveryOtherCell) {
  Position pos;
  testing_support::PlaceFen(pos, "r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1");
  pos.rights = 15;
  pos.ClearBoard();

  std::set<int> squares;
  for (int file = 0; file < 8; ++file) {
    for (int rank = 0; rank < 8; ++rank)
      squares.insert(10 * file + rank);
  }
  for (int index = -21; index <= 98; ++index) {
    EXPECT_EQ(pos.Cell(index), squares.count(index) ? 0x0000u : 0xC000u) << "index " << index;
  }
  EXPECT_EQ(pos.rights, 0u);
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
  Position pos;
  pos.PlaceMan(c.file, c.rank, c.manCode);
  EXPECT_EQ(pos.Cell(10 * c.file + c.rank), c.cell);
}

INSTANTIATE_TEST_SUITE_P(ManCodes, PlaceManCode, ::testing::ValuesIn(kPlacements),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PlaceMan, ReplacesWhatStoodThereAndZeroEmptiesTheSquare) {
  Position pos;
  pos.PlaceMan(2, 4, 5);
  pos.PlaceMan(2, 4, 9);
  EXPECT_EQ(pos.Cell(24), 0x8400u);
  pos.PlaceMan(2, 4, 0);
  EXPECT_EQ(pos.Cell(24), 0u);
}

struct OutOfRange {
  int file;
  int rank;
  int manCode;
};

TEST(PlaceMan, IgnoresValuesOutsideTheBoardAndTheManCodes) {
  const OutOfRange kCases[] = {{0, 0, 13}, {0, 0, -1}, {8, 0, 1},
                               {0, 8, 1},  {-1, 0, 1}, {0, -1, 1}};
  Position pos;
  testing_support::PlaceFen(pos, "4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  const std::vector<CellCode> before = AllCells(pos);
  for (const OutOfRange &c : kCases) {
    pos.PlaceMan(c.file, c.rank, c.manCode);
    EXPECT_EQ(AllCells(pos), before)
        << "file " << c.file << " rank " << c.rank << " man " << c.manCode;
  }
}

// The number of the man standing on a square, as written into the low byte of its cell.
int NumberOn(Position &pos, int index) { return static_cast<int>(pos.Cell(index) & 0xFF); }

TEST(PrepareTask, NumbersWhiteFromWDownAndBlackFromWPlusOneKingsAtTheEnds) {
  Position pos;
  pos.PlaceMan(4, 0, 6);  // Ke1
  pos.PlaceMan(0, 0, 2);  // Ra1
  pos.PlaceMan(1, 0, 3);  // Nb1
  pos.PlaceMan(4, 7, 12); // ke8
  pos.PlaceMan(0, 6, 7);  // pa7
  pos.PrepareTask(2);

  EXPECT_EQ(pos.whiteMen, 3);
  EXPECT_EQ(pos.allMen, 5);
  const int a1 = 0, b1 = 10, e1 = 40, a7 = 6, e8 = 47;
  EXPECT_EQ(NumberOn(pos, a1), 3);
  EXPECT_EQ(NumberOn(pos, b1), 2);
  EXPECT_EQ(NumberOn(pos, e1), 1);
  EXPECT_EQ(NumberOn(pos, a7), 4);
  EXPECT_EQ(NumberOn(pos, e8), 5);
  for (int index : {a1, b1, e1, a7, e8}) {
    EXPECT_EQ(pos.men[NumberOn(pos, index)], &pos.Cell(index)) << "index " << index;
    EXPECT_EQ(engine::IndexOf(&pos.Cell(index)), index);
  }
  // The mark of the unmoved pawn survives the numbering.
  EXPECT_EQ(pos.Cell(a7), 0x9804u);
}

TEST(PrepareTask, RenumbersOverTheNumbersOfAnEarlierTask) {
  Position pos;
  pos.PlaceMan(4, 0, 6);
  pos.PlaceMan(0, 0, 2);
  pos.PlaceMan(1, 0, 3);
  pos.PlaceMan(4, 7, 12);
  pos.PlaceMan(0, 6, 7);
  pos.PrepareTask(1);
  pos.PlaceMan(2, 1, 1); // Pc2 joins between Nb1 and Ke1 in board order
  pos.PrepareTask(1);

  EXPECT_EQ(pos.whiteMen, 4);
  EXPECT_EQ(pos.allMen, 6);
  EXPECT_EQ(NumberOn(pos, 0), 4);
  EXPECT_EQ(NumberOn(pos, 10), 3);
  EXPECT_EQ(NumberOn(pos, 21), 2);
  EXPECT_EQ(NumberOn(pos, 40), 1);
  EXPECT_EQ(NumberOn(pos, 6), 5);
  EXPECT_EQ(NumberOn(pos, 47), 6);
}

} // namespace
