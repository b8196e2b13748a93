// Random problem positions for the differential tests.
#pragma once

#include <random>
#include <string>

namespace testing_support {

// A legal-looking problem position: both kings, a few men of each side, no pawn on a base
// line, castling allowed where king and rook stand at home.
std::string RandomFen(std::mt19937 &random, bool whiteToMove);

} // namespace testing_support
