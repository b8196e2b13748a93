#include "tests/support/random_fen.h"

#include <algorithm>

namespace testing_support {

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

} // namespace testing_support
