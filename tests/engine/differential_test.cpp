// The accelerated search against the plain one, which is the reference, and any number of
// search threads against one: on random positions every report of a task must be the same, in
// the same order.
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using testing_support::RecordingHost;

std::vector<std::string> Reports(const std::string &fen, int depth, bool plain, int threads = 1) {
  return testing_support::Solve(fen, depth, false,
                                {.plain = plain, .hashMegabytes = 8, .threads = threads})
      .events;
}

// A legal-looking problem position: both kings, a few men of each side, no pawn on a base
// line, castling allowed where king and rook stand at home.
std::string RandomFen(std::mt19937 &random, bool whiteToMove) {
  char board[8][8];
  for (auto &rank : board)
    std::fill(std::begin(rank), std::end(rank), '.');
  std::uniform_int_distribution<int> square(0, 63);
  // Pawns about to promote, often enough for promotions with check and mate to be common.
  const bool promoting = random() % 3 == 0;
  const auto put = [&](char man, bool pawn) {
    for (;;) {
      const int s = square(random);
      int rank = s / 8;
      if (pawn && promoting)
        rank = man == 'P' ? 6 : 1;
      if (board[rank][s % 8] != '.' || (pawn && (rank == 0 || rank == 7)))
        continue;
      board[rank][s % 8] = man;
      return;
    }
  };
  // Kings at home now and then, so that castling takes part.
  const bool castling = random() % 3 == 0;
  if (castling) {
    board[0][4] = 'K';
    board[7][4] = 'k';
    board[0][7] = 'R';
    board[7][0] = 'r';
  } else {
    put('K', false);
    put('k', false);
  }
  // A pawn on the seventh rank, on the file or a diagonal of the black king now and then:
  // promotions that check along the line the pawn itself closed.
  if (promoting && random() % 2 == 0) {
    for (int file = 0; file < 8; ++file) {
      for (int rank = 0; rank < 8; ++rank) {
        if (board[rank][file] == 'k' && board[6][file] == '.' && rank < 6)
          board[6][file] = 'P';
      }
    }
  }
  const char *white = "QRRBBNNPPPPP";
  const char *black = "qrrbbnnppppp";
  const int whiteMen = 1 + static_cast<int>(random() % 7);
  const int blackMen = static_cast<int>(random() % 8);
  for (int i = 0; i < whiteMen; ++i) {
    const char man = white[random() % 12];
    put(man, man == 'P');
  }
  for (int i = 0; i < blackMen; ++i) {
    const char man = black[random() % 12];
    put(man, man == 'p');
  }
  std::string fen;
  for (int rank = 7; rank >= 0; --rank) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      if (board[rank][file] == '.') {
        ++empty;
        continue;
      }
      if (empty > 0)
        fen += static_cast<char>('0' + empty);
      empty = 0;
      fen += board[rank][file];
    }
    if (empty > 0)
      fen += static_cast<char>('0' + empty);
    if (rank > 0)
      fen += '/';
  }
  return fen + (whiteToMove ? " w " : " b ") + (castling ? "KQkq" : "-");
}

TEST(AcceleratedSearch, AgreesWithThePlainSearchAndWithItselfOnManyThreads) {
  std::mt19937 random(20261206);
  int compared = 0;
  int withSolutions = 0;
  for (int i = 0; compared < 1000; ++i) {
    const bool mate = i % 2 == 0;
    const std::string fen = RandomFen(random, mate);
    const int depth = 1 + i % 3;
    const std::vector<std::string> plain = Reports(fen, depth, true);
    // A side not to move in check is refused at once by both; it proves nothing.
    if (plain.front() == "solution >> CHECKMT")
      continue;
    ++compared;
    withSolutions += std::any_of(plain.begin(), plain.end(), [](const std::string &e) {
      return e.rfind("solution ", 0) == 0 && e.rfind("solution >>", 0) != 0;
    });
    ASSERT_EQ(Reports(fen, depth, false), plain) << fen << " depth " << depth;
    for (const int threads : {2, 3, 8}) {
      ASSERT_EQ(Reports(fen, depth, false, threads), plain)
          << fen << " depth " << depth << ", " << threads << " threads";
    }
    ASSERT_EQ(Reports(fen, depth, true, 3), plain) << fen << " depth " << depth << ", plain";
  }
  // The comparison means little unless the positions have solutions to agree on.
  EXPECT_GT(withSolutions, 200);
}

} // namespace
