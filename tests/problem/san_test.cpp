#include "problem/san.h"

#include "problem/fen.h"

#include <gtest/gtest.h>

namespace {

// The line is the engine's; the board decides the disambiguation.
TEST(San, WritesTheMoveAsCollectionsDo) {
  const struct {
    const char *name;
    const char *fen;
    const char *line;
    const char *san;
  } cases[] = {
      {"PieceMove", "5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ -", "Qf8-e7    ", "Qe7"},
      {"FileTellsKnightsApart", "4k3/8/8/8/8/5N2/8/1N2K3 w - -", "Nb1-d2    ", "Nbd2"},
      {"RankTellsRooksApart", "4k3/8/8/R7/8/8/8/R3K3 w - -", "Ra1-a3    ", "R1a3"},
      {"BothTellThreeQueensApart", "k7/8/8/8/4Q2Q/8/K7/7Q w - -", "Qh4-e1   +", "Qh4e1+"},
      {"APinnedRivalCountsNot", "4r2k/8/8/8/8/8/4N3/1N2K3 w - -", "Nb1-c3    ", "Nc3"},
      {"AFreeRivalCounts", "7k/8/8/8/8/8/4N3/1N2K3 w - -", "Nb1xc3    ", "Nbxc3"},
      {"PawnCapture", "4k3/8/8/3p4/4P3/8/8/4K3 w - -", " e4xd5    ", "exd5"},
      {"Promotion", "1k6/4P3/8/8/8/8/8/4K3 w - -", " e7-e8=Q +", "e8=Q+"},
      {"CapturingPromotion", "3r4/4P3/8/8/8/8/k7/4K3 w - -", " e7xd8=N #", "exd8=N#"},
      {"ShortCastling", "4k3/8/8/8/8/8/8/4K2R w K -", "  0-0     ", "O-O"},
      {"LongCastlingWithCheck", "3k4/8/8/8/8/8/8/R3K3 w Q -", "  0-0-0  +", "O-O-O+"},
      {"BlackDefence", "4k3/8/8/8/8/8/8/R3K3 b - -", "Ke8-f7    ", "Kf7"},
      {"NoticeIsNoMove", "4k3/8/8/8/8/8/8/R3K3 b - -", ">> STALEMT", ""},
      {"EmptyStartSquare", "4k3/8/8/8/8/8/8/R3K3 w - -", "Qd1-d8    ", ""},
      {"ManOfTheOtherSide", "4k3/8/8/8/8/8/8/R3K3 b - -", "Ra1-a8    ", ""},
      {"ManOfAnotherKind", "4k3/8/8/8/8/8/8/R3K3 w - -", "Qa1-a8    ", ""},
  };

  for (const auto &c : cases) {
    problem::FenPosition position;
    std::string error;
    ASSERT_TRUE(problem::ParseFen(c.fen, position, error)) << error;
    EXPECT_EQ(problem::SanMove(position.board, position.whiteToMove, c.line), c.san) << c.name;
  }
}

} // namespace
