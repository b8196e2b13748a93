// A problem position as the user sets it up: the ManCode on each of the 64 squares, numbered
// 8 * file + rank (a1 = 0, a8 = 7, h1 = 56, h8 = 63), and the castling rights granted.
#pragma once

#include <array>
#include <cstdint>

namespace problem {

using Board = std::array<int, 64>;

constexpr int SquareNumber(int file, int rank) { return 8 * file + rank; }

inline constexpr int kSquareA1 = 0;
inline constexpr int kSquareA8 = 7;
inline constexpr int kSquareE1 = 32;
inline constexpr int kSquareE8 = 39;
inline constexpr int kSquareH1 = 56;
inline constexpr int kSquareH8 = 63;

// The rights of `requested` whose king and rook stand on their home squares; only those may
// reach the solver, which trusts what it is given.
std::uint32_t RightsAtHome(const Board &board, std::uint32_t requested);

} // namespace problem
