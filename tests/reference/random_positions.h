// Random positions a directmate task may start from, seeded, so that a failing case comes back.
#pragma once

#include <random>
#include <string>

namespace reference {

// A FEN with `men` men in all, kings included (3 to 28): kings apart, at most eight pawns and
// sixteen men a side, no pawn on a base line. Now and then kings and rooks at home with their
// castling rights, pawns at home beside an enemy pawn that could take a double step en passant,
// and pawns about to promote. Either side may be to move; the side not to move stands in check
// only rarely, which a task must refuse.
std::string RandomTaskFen(std::mt19937_64 &random, int men);

} // namespace reference
