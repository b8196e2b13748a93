// The two sides as the generator and the searches see them: colours, directions, castling
// squares and rights, and the steps of the men.
#pragma once

#include "engine/moves.h"

namespace engine {

enum class Side { White, Black };

template <Side S> struct SideRules;

template <> struct SideRules<Side::White> {
  static constexpr CellCode own = kWhite;
  static constexpr CellCode enemy = kBlack;
  static constexpr int ahead = 1;
  static constexpr int leftFront = -9;
  static constexpr int rightFront = 11;
  static constexpr std::uint32_t rights = kWhiteLong | kWhiteShort;
  static constexpr std::uint32_t shortRight = kWhiteShort;
  static constexpr std::uint32_t longRight = kWhiteLong;
  static constexpr int kingHome = kE1, shortRook = kH1, longRook = kA1;
  static constexpr int f = kF1, g = kG1, d = kD1, c = kC1, b = kB1;
  static CellCode *King(const Position &pos) { return pos.men[1]; }
  static CellCode *EnemyKing(const Position &pos) { return pos.men[pos.allMen]; }
  static bool KingAttacked(const Position &pos) { return WhiteKingAttacked(pos); }
};

template <> struct SideRules<Side::Black> {
  static constexpr CellCode own = kBlack;
  static constexpr CellCode enemy = kWhite;
  static constexpr int ahead = -1;
  static constexpr int leftFront = -11;
  static constexpr int rightFront = 9;
  static constexpr std::uint32_t rights = kBlackLong | kBlackShort;
  static constexpr std::uint32_t shortRight = kBlackShort;
  static constexpr std::uint32_t longRight = kBlackLong;
  static constexpr int kingHome = kE8, shortRook = kH8, longRook = kA8;
  static constexpr int f = kF8, g = kG8, d = kD8, c = kC8, b = kB8;
  static CellCode *King(const Position &pos) { return pos.men[pos.allMen]; }
  static CellCode *EnemyKing(const Position &pos) { return pos.men[1]; }
  static bool KingAttacked(const Position &pos) { return BlackKingAttacked(pos); }
};

inline constexpr int kKnightJumps[8] = {-19, -8, 12, 21, 19, 8, -12, -21};
inline constexpr int kKingSteps[8] = {-9, 11, 9, -11, 1, -1, -10, 10};
inline constexpr int kOrthogonalRays[4] = {1, 10, -1, -10};
inline constexpr int kDiagonalRays[4] = {11, 9, -11, -9};
inline constexpr CellCode kPromotionKinds[4] = {kKnight, kQueen, kRook, kBishop};

} // namespace engine
