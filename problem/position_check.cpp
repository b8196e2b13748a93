#include "problem/position_check.h"

#include "engine/man_codes.h"

namespace problem {

std::string_view PositionFault(const Board &board) {
  using namespace engine;
  int whiteKings = 0, blackKings = 0, whitePawns = 0, blackPawns = 0, whiteMen = 0, blackMen = 0;
  bool pawnOnBaseLine = false;
  for (int n = 0; n < 64; ++n) {
    const int man = board[n];
    if (man == kNoMan)
      continue;
    whiteKings += man == kWhiteKing;
    blackKings += man == kBlackKing;
    whitePawns += man == kWhitePawn;
    blackPawns += man == kBlackPawn;
    const int rank = n % 8;
    if ((man == kWhitePawn || man == kBlackPawn) && (rank == 0 || rank == 7)) {
      pawnOnBaseLine = true;
    }
    (man < kBlackPawn ? whiteMen : blackMen) += 1;
  }
  std::string_view fault;
  if (whiteKings == 0)
    fault = kNoWhiteKing;
  if (whiteKings > 1)
    fault = kTooManyWhiteKings;
  if (blackKings == 0)
    fault = kNoBlackKing;
  if (blackKings > 1)
    fault = kTooManyBlackKings;
  if (whitePawns > 8)
    fault = kTooManyWhitePawns;
  if (blackPawns > 8)
    fault = kTooManyBlackPawns;
  if (whiteMen > 16)
    fault = kTooManyWhiteMen;
  if (blackMen > 16)
    fault = kTooManyBlackMen;
  if (pawnOnBaseLine)
    fault = kPawnOnBaseLine;
  return fault;
}

} // namespace problem
