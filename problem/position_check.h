// The test a position must pass before it goes to the solver: one king per side, at most eight
// pawns and sixteen men per side, no pawn on a base line.
#pragma once

#include "problem/board.h"

#include <string_view>

namespace problem {

inline constexpr std::string_view kNoWhiteKing = "Mistake?!: could not find a white king!";
inline constexpr std::string_view kTooManyWhiteKings = "Mistake?!: too many white kings on board!";
inline constexpr std::string_view kNoBlackKing = "Mistake?!: could not find a black king!";
inline constexpr std::string_view kTooManyBlackKings = "Mistake?!: too many black kings on board!";
inline constexpr std::string_view kTooManyWhitePawns =
    "Too many white pawns - only eight or less are allowed!";
inline constexpr std::string_view kTooManyBlackPawns =
    "Too many black pawns - only eight or less are allowed!";
inline constexpr std::string_view kTooManyWhiteMen =
    "Too many white chessmen - only 16 or less are allowed!";
inline constexpr std::string_view kTooManyBlackMen =
    "Too many black chessmen - only 16 or less are allowed!";
inline constexpr std::string_view kPawnOnBaseLine =
    "Mistake?!: A pawn can never stand on a BaseLine!";

// The message of the last failing test in the order above (several faults show only that
// one), or an empty view when the position may be solved.
std::string_view PositionFault(const Board &board);

} // namespace problem
