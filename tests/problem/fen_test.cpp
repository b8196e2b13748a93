#include "engine/codes.h"
#include "problem/fen.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;
using problem::FenPosition;
using problem::SquareNumber;

FenPosition Parse(const std::string &fen) {
  FenPosition position;
  std::string error;
  EXPECT_TRUE(problem::ParseFen(fen, position, error)) << fen << ": " << error;
  return position;
}

std::string ErrorOf(const std::string &fen) {
  FenPosition position;
  std::string error;
  EXPECT_FALSE(problem::ParseFen(fen, position, error)) << fen;
  return error;
}

TEST(Fen, PlacesMenOnSquaresNumberedUpEachFile) {
  const FenPosition p = Parse("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
  EXPECT_EQ(p.board[SquareNumber(0, 0)], kWhiteRook);   // a1
  EXPECT_EQ(p.board[SquareNumber(1, 0)], kWhiteKnight); // b1
  EXPECT_EQ(p.board[SquareNumber(3, 0)], kWhiteQueen);  // d1
  EXPECT_EQ(p.board[32], kWhiteKing);                   // e1
  EXPECT_EQ(p.board[SquareNumber(4, 1)], kWhitePawn);   // e2
  EXPECT_EQ(p.board[39], kBlackKing);                   // e8
  EXPECT_EQ(p.board[SquareNumber(2, 7)], kBlackBishop); // c8
  EXPECT_EQ(p.board[SquareNumber(7, 6)], kBlackPawn);   // h7
  EXPECT_EQ(p.board[SquareNumber(4, 3)], kNoMan);       // e4
  EXPECT_TRUE(p.whiteToMove);
  EXPECT_EQ(p.castlingRights, kAllRights);
}

TEST(Fen, GrantsCastlingOnlyWithKingAndRookAtHome) {
  struct Case {
    const char *fen;
    std::uint32_t rights;
  } cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", kAllRights},
      {"r3k2r/8/8/8/8/8/8/R3K2R b - -", 0},
      {"r3k3/8/8/8/8/8/8/4K2R w KQkq -", kWhiteShort | kBlackLong},   // a1 and h8 empty
      {"r3k2r/8/8/8/8/8/8/R4K1R w KQkq -", kBlackLong | kBlackShort}, // white king off e1
      {"r3k2n/8/8/8/8/8/8/R3K2R w Kk -", kWhiteShort},                // a knight on h8
      {"R3k2r/8/8/8/8/8/8/r3K2R w Qq -", 0},                          // rooks of the wrong colour
  };
  for (const Case &c : cases)
    EXPECT_EQ(Parse(c.fen).castlingRights, c.rights) << c.fen;
}

TEST(Fen, AcceptsMissingCountersAndIgnoresEnPassant) {
  EXPECT_FALSE(Parse("4k3/8/8/8/8/8/8/4K3 b").whiteToMove);
  EXPECT_FALSE(Parse("4k3/8/8/3pP3/8/8/8/4K3 w - d6").board.empty());
  EXPECT_EQ(Parse("  4k3/8/8/8/8/8/8/4K3   w  -  -  0  1 ").castlingRights, 0u);
}

TEST(Fen, RefusesMalformedInputWithAReason) {
  EXPECT_NE(ErrorOf("").find("side to move"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8/4K3").find("side to move"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8/4K3 x").find("'x'"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8/4K2 w").find("rank 1"), std::string::npos);
  EXPECT_NE(ErrorOf("4k4/8/8/8/8/8/8/4K3 w").find("rank 8"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8 w").find("7 ranks, not 8"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8/8/4K3 w").find("more than 8 ranks"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8/4X3 w").find("'X'"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8/4K3 w KX").find("castling"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8/4K3 w - e5").find("en-passant"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8/4K3 w - - x 1").find("counter"), std::string::npos);
  EXPECT_NE(ErrorOf("4k3/8/8/8/8/8/8/4K3 w - - 0 1 7").find("6 fields"), std::string::npos);
}

} // namespace
