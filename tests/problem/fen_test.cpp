#include "engine/man_codes.h"
#include "problem/fen.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using namespace engine;
using problem::FenPosition;

FenPosition Parse(const std::string &fen) {
  FenPosition position;
  std::string error;
  EXPECT_TRUE(problem::ParseFen(fen, position, error)) << fen << ": " << error;
  return position;
}

// Squares are numbered up each file, a1 0, a2 1, b1 8, so e1 is 32 and e8 39. Every published
// perft count of the engine's tests depends on the placement as well.
TEST(Fen, PlacesMenAndReadsTheSideToMoveWithOrWithoutCounters) {
  const FenPosition p = Parse("  rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR   w  KQkq  - 0 1 ");
  EXPECT_EQ(std::tuple(p.board[32], p.board[39], p.board[1], p.whiteToMove),
            std::tuple(kWhiteKing, kBlackKing, kWhitePawn, true));
  EXPECT_FALSE(Parse("4k3/8/8/8/8/8/8/4K3 b").whiteToMove);
  EXPECT_EQ(Parse("4k3/8/8/3pP3/8/8/8/4K3 w - d6").board[28], kBlackPawn); // d5
}

TEST(Fen, GrantsCastlingOnlyWithKingAndRookAtHome) {
  const std::pair<const char *, std::uint32_t> cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", kAllRights},
      {"r3k2r/8/8/8/8/8/8/R3K2R b - -", 0},
      {"r3k3/8/8/8/8/8/8/4K2R w KQkq -", kWhiteShort | kBlackLong},   // a1 and h8 empty
      {"r3k2r/8/8/8/8/8/8/R4K1R w KQkq -", kBlackLong | kBlackShort}, // white king off e1
      {"r3k2n/8/8/8/8/8/8/R3K2R w Kk -", kWhiteShort},                // a knight on h8
      {"R3k2r/8/8/8/8/8/8/r3K2R w Qq -", 0},                          // rooks of the wrong colour
  };
  for (const auto &[fen, rights] : cases)
    EXPECT_EQ(Parse(fen).castlingRights, rights) << fen;
}

TEST(Fen, RefusesMalformedInputWithAReason) {
  const std::pair<const char *, const char *> cases[] = {
      {"4k3/8/8/8/8/8/8/4K3", "side to move"},
      {"4k3/8/8/8/8/8/8/4K3 x", "'x'"},
      {"4k3/8/8/8/8/8/8/4K2 w", "rank 1"},
      {"4k4/8/8/8/8/8/8/4K3 w", "rank 8"},
      {"4k3/8/8/8/8/8/8 w", "7 ranks, not 8"},
      {"4k3/8/8/8/8/8/8/8/4K3 w", "more than 8 ranks"},
      {"4k3/8/8/8/8/8/8/4X3 w", "'X'"},
      {"4k3/8/8/8/8/8/8/4\u00e93 w", "'\u00e9'"},
      {"4k3/8/8/8/8/8/8/4K3 w KX", "castling"},
      {"4k3/8/8/8/8/8/8/4K3 w - e5", "en-passant"},
      {"4k3/8/8/8/8/8/8/4K3 w - - x 1", "counter"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1 7", "6 fields"}};
  for (const auto &[fen, reason] : cases) {
    FenPosition position;
    std::string error;
    EXPECT_FALSE(problem::ParseFen(fen, position, error)) << fen;
    EXPECT_NE(error.find(reason), std::string::npos) << fen << ": " << error;
  }
}

// Writing and reading again gives the same position; rights without their men at home vanish.
TEST(Fen, WritesWhatItReads) {
  const char *fens[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
      "5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1",
      "r3k3/8/8/8/8/8/8/7K b q - 0 1",
      "8/8/8/8/8/8/8/8 w - - 0 1",
  };
  for (const char *fen : fens)
    EXPECT_EQ(problem::FormatFen(Parse(fen)), fen);
  FenPosition position = Parse("4k3/8/8/8/8/8/8/4K3 w - -");
  position.castlingRights = kAllRights;
  EXPECT_EQ(problem::FormatFen(position), "4k3/8/8/8/8/8/8/4K3 w - - 0 1");
}

} // namespace
