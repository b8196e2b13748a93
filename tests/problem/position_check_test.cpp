#include "engine/codes.h"
#include "problem/position_check.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;
using namespace problem;

Board WithKings() {
  Board board{};
  board[kSquareE1] = kWhiteKing;
  board[kSquareE8] = kBlackKing;
  return board;
}

// Fills squares from a1 upwards (a1, a2, ..., b1, ...) that are still empty.
void Add(Board &board, int man, int count, int firstRank = 1, int lastRank = 6) {
  for (int n = 0; n < 64 && count > 0; ++n) {
    if (board[n] == kNoMan && n % 8 >= firstRank && n % 8 <= lastRank) {
      board[n] = man;
      --count;
    }
  }
}

TEST(PositionFault, AcceptsAPositionWithinTheLimits) {
  Board board = WithKings();
  Add(board, kWhitePawn, 8);
  Add(board, kWhiteQueen, 7);
  Add(board, kBlackPawn, 8);
  Add(board, kBlackKnight, 7);
  EXPECT_EQ(PositionFault(board), "");
}

TEST(PositionFault, NamesEachFault) {
  struct Case {
    const char *rule;
    void (*change)(Board &);
    std::string_view message;
  } cases[] = {
      {"no white king", [](Board &b) { b[kSquareE1] = kNoMan; }, kNoWhiteKing},
      {"two white kings", [](Board &b) { b[0] = kWhiteKing; }, kTooManyWhiteKings},
      {"no black king", [](Board &b) { b[kSquareE8] = kNoMan; }, kNoBlackKing},
      {"two black kings", [](Board &b) { b[7] = kBlackKing; }, kTooManyBlackKings},
      {"nine white pawns", [](Board &b) { Add(b, kWhitePawn, 9); }, kTooManyWhitePawns},
      {"nine black pawns", [](Board &b) { Add(b, kBlackPawn, 9); }, kTooManyBlackPawns},
      {"seventeen white men", [](Board &b) { Add(b, kWhiteRook, 16); }, kTooManyWhiteMen},
      {"seventeen black men", [](Board &b) { Add(b, kBlackRook, 16); }, kTooManyBlackMen},
      {"white pawn on rank 8", [](Board &b) { b[kSquareA8] = kWhitePawn; }, kPawnOnBaseLine},
      {"black pawn on rank 1", [](Board &b) { b[kSquareH1] = kBlackPawn; }, kPawnOnBaseLine},
      {"white pawn on rank 1", [](Board &b) { b[kSquareA1] = kWhitePawn; }, kPawnOnBaseLine},
  };
  for (const Case &c : cases) {
    Board board = WithKings();
    c.change(board);
    EXPECT_EQ(PositionFault(board), c.message) << c.rule;
  }
}

TEST(PositionFault, ShowsOnlyTheLastFailingTest) {
  EXPECT_EQ(PositionFault(Board{}), kNoBlackKing); // also no white king

  Board noWhiteKingNineBlackPawns = WithKings();
  noWhiteKingNineBlackPawns[kSquareE1] = kNoMan;
  Add(noWhiteKingNineBlackPawns, kBlackPawn, 9);
  EXPECT_EQ(PositionFault(noWhiteKingNineBlackPawns), kTooManyBlackPawns);

  Board ninePawnsAmongSixteen = WithKings();
  Add(ninePawnsAmongSixteen, kWhitePawn, 9);
  Add(ninePawnsAmongSixteen, kWhiteKnight, 6);
  EXPECT_EQ(PositionFault(ninePawnsAmongSixteen), kTooManyWhitePawns);

  Board seventeenWithEightPawns = WithKings();
  Add(seventeenWithEightPawns, kWhitePawn, 8);
  Add(seventeenWithEightPawns, kWhiteKnight, 8);
  EXPECT_EQ(PositionFault(seventeenWithEightPawns), kTooManyWhiteMen);

  Board everything = WithKings();
  everything[0] = kWhiteKing;
  Add(everything, kBlackPawn, 9);
  everything[63] = kBlackPawn;
  EXPECT_EQ(PositionFault(everything), kPawnOnBaseLine);
}

} // namespace
