// The codes of the engine's position: what a cell holds, what a ply record says and where the
// squares lie on the 120-cell board. Internal to the engine.
#pragma once

#include "engine/man_codes.h"

#include <cstdint>

namespace engine {

using CellCode = std::uint32_t;

// Whole-cell values and the colour bits. The border carries both colour bits, so a test for
// "not my colour" or "an enemy man" excludes it without a bounds check.
inline constexpr CellCode kEmpty = 0;
inline constexpr CellCode kBorder = 0xC000;
inline constexpr CellCode kWhite = 0x4000;
inline constexpr CellCode kBlack = 0x8000;
inline constexpr CellCode kColourMask = 0xC000;

// Kinds under kKindMask. Single bits answer the attack questions: 0x0100 slides diagonally,
// 0x0200 slides orthogonally, 0x0400 jumps like a knight, 0x0800 strikes an adjacent square
// (pawn and king), 0x2000 is the king.
inline constexpr CellCode kKindMask = 0x3F00;
inline constexpr CellCode kNumberMask = 0x00FF;
inline constexpr CellCode kBishop = 0x0100;
inline constexpr CellCode kRook = 0x0200;
inline constexpr CellCode kQueen = 0x0300;
inline constexpr CellCode kKnight = 0x0400;
inline constexpr CellCode kPawn = 0x0800;
inline constexpr CellCode kUnmoved = 0x1000;
inline constexpr CellCode kUnmovedPawn = kPawn | kUnmoved;
inline constexpr CellCode kKing = 0x2800;
inline constexpr CellCode kDiagonalSlider = 0x0100;
inline constexpr CellCode kOrthogonalSlider = 0x0200;
inline constexpr CellCode kAdjacentStriker = 0x0800;

// PlyFlags.
inline constexpr std::uint32_t kCapture = 1;
inline constexpr std::uint32_t kDoubleStep = 2;
inline constexpr std::uint32_t kEnPassant = 4;
inline constexpr std::uint32_t kPromotion = 8;
inline constexpr std::uint32_t kShortCastling = 16;
inline constexpr std::uint32_t kLongCastling = 32;
inline constexpr std::uint32_t kRightTaken = 64;

// Board indices: 10 * file + rank, with 21 border cells before a1 and after h8.
inline constexpr int kBoardCells = 120;
inline constexpr int kBorderOffset = 21;
constexpr int SquareIndex(int file, int rank) { return 10 * file + rank; }

inline constexpr int kA1 = SquareIndex(0, 0);
inline constexpr int kB1 = SquareIndex(1, 0);
inline constexpr int kC1 = SquareIndex(2, 0);
inline constexpr int kD1 = SquareIndex(3, 0);
inline constexpr int kE1 = SquareIndex(4, 0);
inline constexpr int kF1 = SquareIndex(5, 0);
inline constexpr int kG1 = SquareIndex(6, 0);
inline constexpr int kH1 = SquareIndex(7, 0);
inline constexpr int kA8 = SquareIndex(0, 7);
inline constexpr int kB8 = SquareIndex(1, 7);
inline constexpr int kC8 = SquareIndex(2, 7);
inline constexpr int kD8 = SquareIndex(3, 7);
inline constexpr int kE8 = SquareIndex(4, 7);
inline constexpr int kF8 = SquareIndex(5, 7);
inline constexpr int kG8 = SquareIndex(6, 7);
inline constexpr int kH8 = SquareIndex(7, 7);

} // namespace engine
