#include "problem/board.h"

#include "engine/man_codes.h"

namespace problem {

std::uint32_t RightsAtHome(const Board &board, std::uint32_t requested) {
  using namespace engine;
  struct Home {
    std::uint32_t right;
    int king;
    int kingSquare;
    int rook;
    int rookSquare;
  };
  constexpr Home homes[] = {
      {kWhiteShort, kWhiteKing, kSquareE1, kWhiteRook, kSquareH1},
      {kWhiteLong, kWhiteKing, kSquareE1, kWhiteRook, kSquareA1},
      {kBlackShort, kBlackKing, kSquareE8, kBlackRook, kSquareH8},
      {kBlackLong, kBlackKing, kSquareE8, kBlackRook, kSquareA8},
  };
  std::uint32_t granted = 0;
  for (const Home &home : homes) {
    if ((requested & home.right) && board[home.kingSquare] == home.king &&
        board[home.rookSquare] == home.rook) {
      granted |= home.right;
    }
  }
  return granted;
}

} // namespace problem
