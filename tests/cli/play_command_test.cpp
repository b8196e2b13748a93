// quintabell-solve --play: the play as text within its line budget, or as JSON documents.
#include "tests/cli/command_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using testing_support::Solve;

// The play's text is the engine's to test; the command cuts it at its line budget.
TEST(PlayCommand, CutsTheTextAtItsLineBudgetAndSaysSo) {
  // Van Gool's star flight and its five tries.
  const auto run = Solve("--play --tries --max-lines 3 --moves 2 --fen "
                         "'3Q3K/8/3n4/4P3/p2kP3/P5NR/1R3p1B/5B1N w - - 0 1'");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1.Rb2xf2 ! zugzwang.\n"
                     "   1...Kd4-c5 2.Qd8xd6 #\n"
                     "   1...Kd4xe5 2.Qd8-f6 #\n"
                     "... 25 more lines left out (--max-lines 3)\n");
}

// Dawson's two-mover: one try, its refutation, the key, and no set play.
TEST(PlayCommand, PrintsOneJsonDocumentPerKeyTryAndSetPlay) {
  const auto run = Solve("--play --json --tries 1 --set-play --moves 2 --fen "
                         "'nk6/brpp2p1/brp4p/1p6/8/8/8/4K2R w - - 0 1'");
  EXPECT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::vector<std::string> kinds;
  for (std::string line; std::getline(lines, line);)
    kinds.push_back(line.substr(0, line.find(',')));
  EXPECT_EQ(kinds, (std::vector<std::string>{R"({"kind":"setPlay")", R"({"kind":"try")",
                                             R"({"kind":"key")"}));
}

} // namespace
