#include "problem/fen.h"
#include "problem/position_check.h"

#include <gtest/gtest.h>

namespace {

using namespace problem;

// Each message, the limits from both sides, and which of several faults wins: the last in the
// order of the tests (an empty board lacks both kings and names the black one).
TEST(PositionFault, NamesTheLastFailingTestAndAcceptsTheLimits) {
  const std::pair<const char *, std::string_view> cases[] = {
      {"4k3/pppppppp/nnnnnnn1/8/8/QQQQQQQ1/PPPPPPPP/4K3", ""},
      {"8/8/8/8/8/8/8/8", kNoBlackKing},
      {"4k3/8/8/8/8/8/8/8", kNoWhiteKing},
      {"4k3/8/8/8/8/8/8/K3K3", kTooManyWhiteKings},
      {"k3k3/8/8/8/8/8/8/8", kTooManyBlackKings},
      {"4k3/8/8/8/8/PPPPPPPP/P7/4K3", kTooManyWhitePawns},
      {"4k3/pppppppp/p7/8/8/8/8/8", kTooManyBlackPawns},
      {"4k3/8/8/8/QQQQQQQQ/PPPPPPPP/8/4K3", kTooManyWhiteMen},
      {"4k3/8/8/8/QQQQQQ2/PPPPPPPP/P7/4K3", kTooManyWhitePawns},
      {"4k3/pppppppp/nnnnnnnn/8/8/QQQQQQQ1/PPPPPPPP/4K3", kTooManyBlackMen},
      {"4k3/8/8/8/8/8/8/P3K3", kPawnOnBaseLine},
      {"P3k3/pppppppp/p7/8/8/8/8/K3K3", kPawnOnBaseLine},
  };
  for (const auto &[fen, fault] : cases) {
    FenPosition position;
    std::string error;
    ASSERT_TRUE(ParseFen(std::string(fen) + " w", position, error)) << fen << ": " << error;
    EXPECT_EQ(PositionFault(position.board), fault) << fen;
  }
}

} // namespace
