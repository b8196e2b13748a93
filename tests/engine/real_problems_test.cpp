// Published directmates and mates from games: the engine must find exactly their keys.
#include "problem/solution_text.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

struct Problem {
  const char *id;
  const char *fen;
  int moves;
  const char *keys; // coordinate moves, castling as the king's move; "-" when there is none
};

// Picked to cover castling keys, promotion keys, several keys and a position without a key,
// while staying quick enough for the sanitizer build.
const Problem kProblems[] = {
    {"b01", "8/Q7/8/8/8/8/8/2k1K2R w K - 0 1", 2, "a7f2"},
    {"b02", "5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1", 3, "f8e7"},
    {"b06", "3b4/8/8/8/1p1P1p1p/5P1p/8/RRBNK1k1 w Q - 0 1", 4, "b1b2"},
    {"b07", "2n1k2r/R2R2p1/2P1K2p/8/8/8/8/8 w k - 0 1", 4, "d7d8"},
    {"b08", "8/2Pp4/8/N1P5/4p3/P1k5/8/R3K3 w Q - 0 1", 3, "e1c1"},
    {"b14", "5k2/7R/8/Pn6/8/8/8/R3K3 w Q - 0 1", 4, "e1c1"},
    {"b20", "k7/P7/K7/5p2/8/7B/4p1P1/8 w - - 0 1", 3, "-"},
    {"b21", "k3N3/P7/K6p/8/8/8/8/8 w - - 0 1", 2, "a6b6 e8c7"},
    {"g01", "2N2B2/2N1r3/8/3nQ2R/1k6/8/2B5/R3K3 w Q - 0 1", 2, "e1c1"},
    {"g05", "8/7B/2R5/4Nr1p/4kb1Q/8/1B6/4K2R w K - 0 1", 2, "e1g1"},
    {"g08", "2K4N/3PP1k1/5N2/6n1/8/8/8/8 w - - 0 1", 3, "e7e8n"},
    {"g10", "8/3P2P1/3N4/3k4/4N3/4K3/8/8 w - - 0 1", 3, "d7d8n g7g8q"},
    {"g12", "k7/1pR2R2/p6r/8/1N6/2K5/3P4/4B3 w - - 0 1", 3, "c7c8 f7f8"},
    {"g13", "k7/1pRN1p2/p3r2p/Q2N2p1/3PPP2/8/5P1P/R5K1 w - - 0 1", 3,
     "a5a6 a5b4 a5b5 a5c5 c7b7 c7c8 d5b6 d7b6"},
    {"g14", "n3b3/Npp4R/p1pp4/k7/N7/Kp6/8/R5B1 w - - 0 1", 3, "a4b6 a4c5 g1d4 g1e3 g1f2"},
};

std::set<std::string> ExpectedKeys(const std::string &keys) {
  std::set<std::string> moves;
  std::istringstream in(keys);
  for (std::string move; in >> move;) {
    if (move != "-")
      moves.insert(move);
  }
  return moves;
}

class RealProblem : public ::testing::TestWithParam<Problem> {};

TEST_P(RealProblem, KeysAreFound) {
  const Problem &p = GetParam();
  const testing_support::RecordingHost host = testing_support::Solve(p.fen, p.moves);
  std::set<std::string> keys;
  for (const std::string &line : host.Solutions()) {
    EXPECT_TRUE(keys.insert(problem::CoordinateMove(line, true)).second)
        << "reported twice: " << line;
  }
  EXPECT_EQ(keys, ExpectedKeys(p.keys));
  EXPECT_EQ(host.events.back(), "finished");
}

INSTANTIATE_TEST_SUITE_P(Directmates, RealProblem, ::testing::ValuesIn(kProblems),
                         [](const auto &info) { return std::string(info.param.id); });

} // namespace
