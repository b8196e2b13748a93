// The ten characters of a key or defence, taken from real tasks whose answers contain the move.
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct LineCase {
  const char *name;
  const char *fen; // the side to move picks the task
  int depth;
  const char *line;
};

// Each position is built so that the move is a key (or, for Black, a defence): the comment
// gives the reason.
const LineCase kLines[] = {
    // 1.Nf3 shuts in the king (g1, g2, h2); 1...a6/a5 2.Rb1 mate.
    {"QuietKnightMove", "8/p7/8/8/8/1R6/5K2/6Nk w - - 0 1", 2, "Ng1-f3    "},
    // The same net with the knight already on f3: any a-pawn move is met by 2.Rb1 mate.
    {"PawnDoubleStep", "8/p7/8/8/8/1R3N2/4PK2/7k w - - 0 1", 2, " e2-e4    "},
    {"RookMate", "8/p7/8/8/8/1R3N2/4PK2/7k w - - 0 1", 2, "Rb3-b1   #"},
    // 1.Bxf7+ Kf8 (Kxf7 is guarded by Ng5) 2.Re8 mate; 1...Kh8 2.Re8 mate.
    {"BishopCaptureWithCheck", "6k1/5ppp/8/6N1/2B5/8/8/4R1K1 w - - 0 1", 2, "Bc4xf7   +"},
    {"PromotionToQueenWithMate", "k7/4P3/1K6/8/8/8/8/8 w - - 0 1", 1, " e7-e8=Q #"},
    // 1.dxc8=N+ Ka8 (b8 and a6 are guarded) 2.Bd5 mate.
    {"CapturePromotingToKnightWithCheck", "2b5/k1KP4/8/8/2B5/8/8/8 w - - 0 1", 2, " d7xc8=N +"},
    // Published mates in two whose only key is castling.
    {"ShortCastling", "8/7B/2R5/4Nr1p/4kb1Q/8/1B6/4K2R w K - 0 1", 2, "  0-0     "},
    {"LongCastling", "2N2B2/2N1r3/8/3nQ2R/1k6/8/2B5/R3K3 w Q - 0 1", 2, "  0-0-0   "},
    // 1.0-0+ Ka2 (a1, b2, c1, c2 are covered) 2.Ra1 mate.
    {"ShortCastlingWithCheck", "8/8/8/8/8/2Q5/8/1k2K2R w K - 0 1", 2, "  0-0    +"},
    {"BlackLongCastlingWithCheck", "r3k3/8/8/8/8/8/8/3K4 b q - 0 1", 1, "  0-0-0  +"},
    {"BlackRookCheck", "r3k3/8/8/8/8/8/8/3K4 b q - 0 1", 1, "Ra8-d8   +"},
    {"BlackKingStep", "r3k3/8/8/8/8/8/8/3K4 b q - 0 1", 1, "Ke8-d7    "},
    {"BlackKnightMate", "k7/8/8/8/6n1/8/6PP/6RK b - - 0 1", 1, "Ng4-f2   #"},
};

class SolutionLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(SolutionLine, IsWrittenInTenCharacters) {
  const LineCase &c = GetParam();
  const std::vector<std::string> lines = testing_support::Solve(c.fen, c.depth).Solutions();
  EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end())
      << "'" << c.line << "' is not among " << ::testing::PrintToString(lines);
  for (const std::string &line : lines)
    EXPECT_EQ(line.size(), 10u) << "'" << line << "'";
}

INSTANTIATE_TEST_SUITE_P(Moves, SolutionLine, ::testing::ValuesIn(kLines),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
