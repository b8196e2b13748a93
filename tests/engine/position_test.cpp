// Placement from outside values: what is not a square or a man code is ignored.
#include "engine/position.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST(PlaceMan, IgnoresValuesOutsideTheBoardAndTheManCodes) {
  engine::Position pos;
  pos.Load(testing_support::ParseFenOrFail("4k3/8/8/8/8/8/8/4K3 w - - 0 1").board);
  const std::vector<engine::CellCode> before(pos.Cells(), pos.Cells() + engine::kBoardCells);
  const int kCases[][3] = {{0, 0, 13}, {0, 0, -1}, {8, 0, 1}, {0, 8, 1}, {-1, 0, 1}, {0, -1, 1}};
  for (const auto &[file, rank, manCode] : kCases) {
    pos.PlaceMan(file, rank, manCode);
    EXPECT_EQ(std::vector<engine::CellCode>(pos.Cells(), pos.Cells() + engine::kBoardCells), before)
        << "file " << file << " rank " << rank << " man " << manCode;
  }
}

} // namespace
