// The codes a position crosses the engine's boundary in: the man on a square and the castling
// rights. The window, the problem files, the control and the tools share them.
#pragma once

#include <cstdint>

namespace engine {

// CastlingRights bits.
inline constexpr std::uint32_t kWhiteLong = 1;
inline constexpr std::uint32_t kWhiteShort = 2;
inline constexpr std::uint32_t kBlackLong = 4;
inline constexpr std::uint32_t kBlackShort = 8;
inline constexpr std::uint32_t kAllRights = 15;

// ManCodes, as they cross the control's boundary.
enum ManCode : int {
  kNoMan = 0,
  kWhitePawn = 1,
  kWhiteRook = 2,
  kWhiteKnight = 3,
  kWhiteBishop = 4,
  kWhiteQueen = 5,
  kWhiteKing = 6,
  kBlackPawn = 7,
  kBlackRook = 8,
  kBlackKnight = 9,
  kBlackBishop = 10,
  kBlackQueen = 11,
  kBlackKing = 12,
};

} // namespace engine
