#include "problem/fen.h"
#include "problem/position_check.h"

#include <gtest/gtest.h>

namespace {

using namespace problem;

// The window's tests show each message and which of several faults wins. Here: the limits from
// both sides, and a white pawn on rank 1, which the window's cases leave out.
TEST(PositionFault, AcceptsEightPawnsAndSixteenMenASideAndNoPawnOnABaseLine) {
  const std::pair<const char *, std::string_view> cases[] = {
      {"4k3/pppppppp/nnnnnnn1/8/8/QQQQQQQ1/PPPPPPPP/4K3", ""},
      {"4k3/pppppppp/nnnnnnnn/8/8/QQQQQQQ1/PPPPPPPP/4K3", kTooManyBlackMen},
      {"4k3/8/8/8/8/8/8/P3K3", kPawnOnBaseLine},
  };
  for (const auto &[fen, fault] : cases) {
    FenPosition position;
    std::string error;
    ASSERT_TRUE(ParseFen(std::string(fen) + " w", position, error)) << fen << ": " << error;
    EXPECT_EQ(PositionFault(position.board), fault) << fen;
  }
}

} // namespace
