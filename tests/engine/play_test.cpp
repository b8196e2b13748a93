// The play of a solution: published problems as problemists print them, its JSON document and
// its budget; the control's tests ask for one first move, follow the progress and stop it. Every
// line of it is checked against the reference solver in tests/reference.
#include "engine/play_writer.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testing_support::Play;
using testing_support::RecordedPlay;
using Lines = std::vector<std::string>;

engine::PlayOrder Printed(int moves, int tries = 0, bool setPlay = false) {
  return {.depth = static_cast<short>(moves),
          .search = {.hashMegabytes = 8},
          .tries = tries,
          .setPlay = setPlay,
          .everyAnswer = false};
}

Lines Text(const RecordedPlay &play) {
  Lines lines = play.setPlay ? engine::SetPlayText(*play.setPlay) : Lines{};
  for (const engine::FirstMovePlay &first : play.firstMoves) {
    const Lines more = engine::PlayText(first);
    lines.insert(lines.end(), more.begin(), more.end());
  }
  return lines;
}

struct PublishedCase {
  const char *name;
  const char *fen;
  int moves;
  int tries;
  bool setPlay;
  Lines text;
};

const PublishedCase kPublished[] = {
    // Karge: the king takes and is mated by either castling.
    {"MatedByEitherCastling",
     "5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1",
     3,
     0,
     false,
     {"1.Qf8-e7 ! threat:", "      2.Ra1-a3 (dual)", "         2...Ke5xe4 3.Qe7xe6 #",
      "      2.Rh1-h3 (dual)", "         2...Ke5xe4 3.Qe7xe6 #", "   1...Ke5xe4 2.Qe7xe6 +",
      "         2...Ke4-f3 3.0-0 #", "         2...Ke4-d3 3.0-0-0 #"}},
    // Dawson: Black cannot stir; the rook that takes on h6 is refuted by the pawn.
    {"TryAndItsRefutation",
     "nk6/brpp2p1/brp4p/1p6/8/8/8/4K2R w - - 0 1",
     2,
     1,
     false,
     {"1.Rh1xh6 ? threat:", "      2.Rh6-h8 #", "   but 1...g7xh6 !",
      "1.Rh1-f1 ! threat:", "      2.Rf1-f8 #"}},
    // Van Gool: a waiting key and the king's four flights, set play with a dual.
    {"StarFlightAfterAWaitingKey",
     "3Q3K/8/3n4/4P3/p2kP3/P5NR/1R3p1B/5B1N w - - 0 1",
     2,
     0,
     true,
     {"set play:", "   1...Kd4-c5 2.Qd8xd6 # (dual)", "              2.Qd8-b6 # (dual)",
      "1.Rb2xf2 ! zugzwang.", "   1...Kd4-c5 2.Qd8xd6 #", "   1...Kd4xe5 2.Qd8-f6 #",
      "   1...Kd4-e3 2.Qd8-b6 #", "   1...Kd4-c3 2.Ng3-f5 #"}},
};

class PublishedProblem : public ::testing::TestWithParam<PublishedCase> {};

TEST_P(PublishedProblem, PrintsItsSolution) {
  const PublishedCase &c = GetParam();
  EXPECT_EQ(Text(Play(c.fen, Printed(c.moves, c.tries, c.setPlay))), c.text);
}

INSTANTIATE_TEST_SUITE_P(Play, PublishedProblem, ::testing::ValuesIn(kPublished),
                         [](const auto &info) { return std::string(info.param.name); });

// The whole tree: the Black move the threat answers is there, marked, with its mate.
TEST(PlayDocument, HoldsEveryMoveWithItsMarks) {
  const RecordedPlay play =
      Play("8/Q7/8/8/8/8/8/2k1K2R w K - 0 1", {.depth = 2, .search = {.hashMegabytes = 8}});
  ASSERT_EQ(play.firstMoves.size(), 1u);
  EXPECT_EQ(engine::PlayJson(play.firstMoves[0], 2),
            R"({"kind":"key","moves":2,"uci":"a7f2","text":"Qa7-f2","mateIn":2,"replies":[)"
            R"({"uci":"c1b1","text":"Kc1-b1","mateIn":1,"byThreat":true,"replies":[)"
            R"({"uci":"e1g1","text":"0-0","mate":true,"mateIn":1}]}],"zugzwang":false,)"
            R"("threat":[{"uci":"e1g1","text":"0-0","mate":true,"mateIn":1}]})");
}

// A budget of moves cuts the tree where it runs out, and the text says so.
TEST(PlayRun, CutsAHugeTreeAndSaysSo) {
  engine::PlayOrder order = Printed(3);
  order.maxMoves = 4;
  const RecordedPlay play = Play("8/8/pQ6/p1P5/P1p5/5p2/2k2P2/R3K3 w Q - 0 1", order);
  ASSERT_EQ(play.firstMoves.size(), 1u);
  const Lines text = engine::PlayText(play.firstMoves[0]);
  EXPECT_EQ(text.back(), "   (cut short: the play goes on beyond its budget)");
  EXPECT_NE(std::find(text.begin(), text.end(), "   1...Kc2-b3 ..."), text.end())
      << ::testing::PrintToString(text);
}

} // namespace
