// The play of a solution against the reference solver, which shares no code with the engine:
// every document (keys, tries, set play; printed and whole) is worked out again move by move.
// The White continuations listed are exactly those that mate in the moves left (printed: in
// the fewest), every Black move below a White one is there, the threat is the shortest mate
// after a pass, and tries come with exactly their refutations.
#include "tests/reference/directmate.h"
#include "tests/reference/random_positions.h"
#include "tests/support/bench_problems.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using engine::PlayNode;
using reference::Move;
using reference::Position;
using Lines = std::vector<std::string>;

std::string Text(const PlayNode &node) { return {node.line.data(), node.line.size()}; }

// Black to move after a White move: the fewest White moves, that one included, to mate; 0 for
// none within `most`.
int MateLength(const Position &position, int most) {
  for (int moves = 1; moves <= most; ++moves) {
    if (reference::BlackIsLost(position, moves - 1))
      return moves;
  }
  return 0;
}

bool Among(const std::vector<Move> &moves, const Move &move) {
  return std::any_of(moves.begin(), moves.end(), [&](const Move &m) {
    return m.from == move.from && m.to == move.to && m.promotion == move.promotion;
  });
}

class PlayCheck {
public:
  PlayCheck(const std::string &fen, int moves, bool everyAnswer)
      : start_(reference::FromFen(fen)), moves_(moves), everyAnswer_(everyAnswer) {}

  // The keys and the tries refuted by 1 to `tries` Black moves, in generation order, each
  // with its play.
  void FirstMoves(const std::vector<engine::FirstMovePlay> &found, int tries) {
    Lines expected, lines;
    std::vector<Position> after;
    for (const Move &move : reference::LegalMoves(start_)) {
      const Position next = reference::Play(start_, move);
      const bool key = reference::BlackIsLost(next, moves_ - 1);
      int refutations = 0;
      for (const Move &reply : key ? std::vector<Move>{} : reference::LegalMoves(next))
        refutations += !reference::WhiteForcesMate(reference::Play(next, reply), moves_ - 1);
      if (key || (refutations >= 1 && refutations <= tries)) {
        expected.push_back(reference::SolutionLine(start_, move) + (key ? " !" : " ?"));
        after.push_back(next);
      }
    }
    for (const engine::FirstMovePlay &first : found)
      lines.push_back(Text(first.move) + (first.key ? " !" : " ?"));
    ASSERT_EQ(lines, expected) << "keys and tries";
    for (std::size_t i = 0; i < found.size(); ++i)
      FirstMove(found[i], after[i]);
  }

  void SetPlay(const std::vector<PlayNode> &blackMoves) {
    Position blackFirst = start_;
    blackFirst.whiteToMove = false;
    if (reference::KingAttacked(start_, true))
      EXPECT_TRUE(blackMoves.empty()) << "set play with White in check";
    else
      BlackMoves(blackMoves, blackFirst, moves_ - 1, "set play 1...");
  }

private:
  // The first move is made: its threat, then every Black move, marked when the threat answers
  // it.
  void FirstMove(const engine::FirstMovePlay &play, const Position &after) {
    const std::string path = "1." + Text(play.move);
    std::vector<Move> threat;
    if (reference::KingAttacked(after, false) || !reference::HasLegalMove(after)) {
      EXPECT_TRUE(play.threat.empty()) << path << " threat";
    } else {
      Position pass = after; // nothing to take in passing after a pass
      pass.whiteToMove = true;
      pass.doubleStepFile = -1;
      Answers(play.threat, pass, moves_ - 1, false, path + " threat", &threat);
    }
    EXPECT_EQ(play.move.mateIn, MateLength(after, moves_)) << path;
    EXPECT_FALSE(play.move.cut) << path;
    BlackMoves(play.move.replies, after, moves_ - 1, path + " ", &threat);
  }

  // Black to move, White with `left` moves to mate: every legal Black move with its answers.
  void BlackMoves(const std::vector<PlayNode> &nodes, const Position &position, int left,
                  const std::string &path, const std::vector<Move> *threat = nullptr) {
    const std::vector<Move> moves = reference::LegalMoves(position);
    Lines lines;
    for (const Move &move : moves)
      lines.push_back(reference::SolutionLine(position, move));
    const auto found = Matched(nodes, lines, path);
    for (std::size_t i = 0; i < found.size(); ++i) {
      const PlayNode &black = *found[i];
      const std::string at = path + lines[i];
      const Position next = reference::Play(position, moves[i]);
      const int shortest = Answers(black.replies, next, left, everyAnswer_, at);
      EXPECT_EQ(black.mateIn, shortest) << at;
      EXPECT_EQ(black.refutes, shortest == 0) << at;
      EXPECT_FALSE(black.cut) << at;
      // The threat answers a Black move when one of its first moves still mates in time.
      bool answered = false;
      if (threat != nullptr && shortest > 0) {
        for (const Move &m : reference::LegalMoves(next))
          answered = answered || (Among(*threat, m) &&
                                  reference::BlackIsLost(reference::Play(next, m), left - 1));
      }
      EXPECT_EQ(black.byThreat, answered) << at;
    }
  }

  // White to move with `left` moves: the answers are the moves that mate in time (with
  // `every` off, only the quickest), duals marked among the quickest, each with its play.
  // Answers the fewest moves to mate, 0 for none; the moves listed go to `listed`.
  int Answers(const std::vector<PlayNode> &answers, const Position &position, int left, bool every,
              const std::string &path, std::vector<Move> *listed = nullptr) {
    const std::vector<Move> moves = reference::LegalMoves(position);
    std::vector<int> length;
    int shortest = 0;
    for (const Move &move : moves) {
      length.push_back(MateLength(reference::Play(position, move), left));
      if (length.back() > 0 && (shortest == 0 || length.back() < shortest))
        shortest = length.back();
    }
    const int budget = every ? left : shortest;
    std::vector<std::size_t> picked;
    Lines lines;
    for (std::size_t i = 0; i < moves.size(); ++i) {
      if (length[i] > 0 && length[i] <= budget) {
        picked.push_back(i);
        lines.push_back(reference::SolutionLine(position, moves[i]));
      }
    }
    const auto quickest = std::count(length.begin(), length.end(), shortest);
    const auto found = Matched(answers, lines, path + " ");
    for (std::size_t k = 0; k < found.size(); ++k) {
      const PlayNode &white = *found[k];
      const std::size_t i = picked[k];
      const std::string at = path + " " + lines[k];
      EXPECT_EQ(white.mateIn, length[i]) << at;
      EXPECT_EQ(white.dual, quickest > 1 && length[i] == shortest) << at;
      EXPECT_FALSE(white.cut) << at;
      BlackMoves(white.replies, reference::Play(position, moves[i]), budget - 1, at + " ");
      if (listed != nullptr)
        listed->push_back(moves[i]);
    }
    return shortest;
  }

  // The nodes in the order of the reference's lines. Below the first move the engine tries
  // its men in the order they stood in at the start, the reference in the order they stand in
  // now, so the lines are matched as sets. Empty unless both list the same moves.
  static std::vector<const PlayNode *> Matched(const std::vector<PlayNode> &nodes,
                                               const Lines &lines, const std::string &path) {
    Lines found, expected = lines;
    for (const PlayNode &node : nodes)
      found.push_back(Text(node));
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected) << path;
    std::vector<const PlayNode *> matched;
    for (const std::string &line : found == expected ? lines : Lines{})
      matched.push_back(&*std::find_if(nodes.begin(), nodes.end(),
                                       [&](const PlayNode &n) { return Text(n) == line; }));
    return matched;
  }

  const Position start_;
  const int moves_;
  const bool everyAnswer_;
};

// One run of the play with two tries and set play, checked whole; a failure names the FEN.
void CheckPlay(const std::string &fen, int moves, bool everyAnswer) {
  SCOPED_TRACE(fen + ", mate in " + std::to_string(moves) + (everyAnswer ? ", whole" : ""));
  const testing_support::RecordedPlay play =
      testing_support::Play(fen, {.depth = static_cast<short>(moves),
                                  .search = {.hashMegabytes = 2},
                                  .tries = 2,
                                  .setPlay = true,
                                  .everyAnswer = everyAnswer});
  ASSERT_EQ(play.result, engine::PlayResult::Ran);
  PlayCheck check(fen, moves, everyAnswer);
  check.FirstMoves(play.firstMoves, 2);
  ASSERT_TRUE(play.setPlay.has_value());
  check.SetPlay(*play.setPlay);
}

// White to move, Black not in check, at most six keys (a crowd of keys costs much and teaches
// little); every other one has a key.
std::string NextPlayFen(std::mt19937_64 &random, int moves, bool withKey) {
  for (;;) {
    const std::string fen = reference::RandomTaskFen(random, 3 + static_cast<int>(random() % 10));
    const Position position = reference::FromFen(fen);
    if (!position.whiteToMove || reference::KingAttacked(position, false))
      continue;
    const auto keys = testing_support::Solve(fen, moves).Solutions().size();
    if (keys <= 6 && (keys > 0 || !withKey))
      return fen;
  }
}

struct Batch {
  const char *name;
  std::uint64_t seed;
  int positions;
  int moves;
};

// A few three-movers among the quick tests: a two-mover's threat and answers are all mates
// in one, which cannot tell the shortest from the rest.
const Batch kBatches[] = {
    {"TwoMovers", 1701, 300, 2}, {"ThreeMovers", 1711, 30, 3}, {"MoreThreeMovers", 1712, 100, 3}};

class ReferencePlay : public ::testing::TestWithParam<Batch> {};

TEST_P(ReferencePlay, OfRandomPositionsIsWhatTheReferenceProves) {
  const Batch &batch = GetParam();
  std::mt19937_64 random(batch.seed);
  for (int i = 0; i < batch.positions && !HasFailure(); ++i)
    CheckPlay(NextPlayFen(random, batch.moves, i % 2 == 1), batch.moves, i % 2 == 0);
}

INSTANTIATE_TEST_SUITE_P(Play, ReferencePlay, ::testing::ValuesIn(kBatches),
                         [](const auto &info) { return std::string(info.param.name); });

class ReferenceBenchPlay : public ::testing::TestWithParam<testing_support::BenchmarkProblem> {};

TEST_P(ReferenceBenchPlay, IsWhatTheReferenceProves) {
  for (const bool everyAnswer : {false, true})
    CheckPlay(GetParam().fen, GetParam().moves, everyAnswer);
}

INSTANTIATE_TEST_SUITE_P(Play, ReferenceBenchPlay,
                         ::testing::ValuesIn(testing_support::BenchProblemsWhere([](auto &p) {
                           return p.moves <= 3;
                         })),
                         [](const auto &info) { return info.param.id; });

} // namespace
