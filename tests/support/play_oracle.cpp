#include "tests/support/play_oracle.h"

#include "engine/generator.h"
#include "engine/search.h"
#include "problem/solution_text.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/random_fen.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testing_support {

using namespace engine;

namespace {

std::string Text(const std::array<char, 10> &line) { return {line.data(), line.size()}; }

std::vector<std::string> LinesOf(const std::vector<PlayNode> &nodes) {
  std::vector<std::string> lines;
  for (const PlayNode &node : nodes)
    lines.push_back(Text(node.line));
  return lines;
}

std::vector<std::string> Chosen(const std::vector<std::string> &lines,
                                const std::vector<bool> &chosen) {
  std::vector<std::string> kept;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (chosen[i])
      kept.push_back(lines[i]);
  }
  return kept;
}

template <class OnMove> struct EveryMove {
  Position &pos;
  OnMove &onMove;
  int index = 0;
  std::vector<std::string> lines;
  void Make() { MakeMove(pos); }
  bool Visit() {
    const CellCode arriving = *pos.ply->to;
    onMove(index++);
    UnmakeMove(pos);
    lines.push_back(Text(BuildSolutionLine(pos, arriving)));
    return false;
  }
};

} // namespace

PlayOracle::PlayOracle(const problem::FenPosition &position, int moves, bool everyAnswer)
    : pos_(ctx_.position), moves_(moves), everyAnswer_(everyAnswer) {
  ctx_.Prepare(position.board, moves + 1);
  pos_.rights = position.castlingRights;
}

// Each legal move of side S at the next record, on the board while `onMove(index)` runs.
template <Side S, class OnMove> std::vector<std::string> PlayOracle::EachMove(OnMove &&onMove) {
  ++pos_.ply;
  pos_.ply->flags = 0;
  EveryMove<OnMove> visitor{pos_, onMove};
  GenerateMoves<S>(pos_, visitor);
  --pos_.ply;
  return visitor.lines;
}

template <Side S, class OnMove> void PlayOracle::AtMove(const std::string &line, OnMove &&onMove) {
  const std::vector<std::string> lines = EachMove<S>([](int) {});
  const auto at = std::find(lines.begin(), lines.end(), line) - lines.begin();
  ASSERT_LT(at, static_cast<long>(lines.size())) << "no legal move " << line;
  EachMove<S>([&](int index) {
    if (index == at)
      onMove();
  });
}

bool PlayOracle::WhiteMatesIn(int moves) {
  pos_.movesLeft = moves + 1;
  return WhiteMates(ctx_);
}

bool PlayOracle::MatedIn(int moves) {
  pos_.movesLeft = moves + 1;
  return !BlackEscapes(ctx_);
}

int PlayOracle::ShortestMate(int most) {
  for (int moves = 1; moves <= most; ++moves) {
    if (WhiteMatesIn(moves))
      return moves;
  }
  return 0;
}

int PlayOracle::Refutations() {
  int count = 0;
  EachMove<Side::Black>([&](int) { count += !WhiteMatesIn(moves_ - 1); });
  return count;
}

std::vector<std::string> PlayOracle::Keys() {
  std::vector<bool> keys;
  const auto lines = EachMove<Side::White>([&](int) { keys.push_back(MatedIn(moves_ - 1)); });
  return Chosen(lines, keys);
}

std::vector<std::string> PlayOracle::Tries(int tries) {
  std::vector<bool> isTry;
  const auto lines = EachMove<Side::White>([&](int) {
    const int refutations = MatedIn(moves_ - 1) ? 0 : Refutations();
    isTry.push_back(refutations >= 1 && refutations <= tries);
  });
  return Chosen(lines, isTry);
}

// White's move is on the board, Black to move, `left` White moves to mate.
void PlayOracle::CheckWhite(const PlayNode &white, int left, const std::string &path) {
  const std::vector<std::string> lines = EachMove<Side::Black>([](int) {});
  const bool inCheck = BlackKingAttacked(pos_);
  EXPECT_EQ(white.line[9] == '#', lines.empty() && inCheck) << path;
  if (!MatedIn(left)) {
    EXPECT_EQ(white.mateIn, 0) << path;
  } else {
    EXPECT_TRUE(white.mateIn >= 1 && MatedIn(white.mateIn - 1)) << path << " " << +white.mateIn;
    EXPECT_TRUE(white.mateIn == 1 || !MatedIn(white.mateIn - 2)) << path << " " << +white.mateIn;
  }
  if (white.cut)
    return;
  ASSERT_EQ(LinesOf(white.replies), lines) << path;
  EachMove<Side::Black>([&](int i) { CheckBlack(white.replies[i], left, path + " " + lines[i]); });
}

// Black's move is on the board, White to move with `left` moves.
void PlayOracle::CheckBlack(const PlayNode &black, int left, const std::string &path) {
  const int shortest = ShortestMate(left);
  EXPECT_EQ(black.refutes, shortest == 0) << path;
  EXPECT_EQ(black.mateIn, shortest) << path;
  if (shortest == 0 || black.cut) {
    EXPECT_TRUE(black.replies.empty()) << path;
    return;
  }
  const int budget = everyAnswer_ ? left : shortest;
  std::vector<bool> answers;
  const auto lines = EachMove<Side::White>([&](int) { answers.push_back(MatedIn(budget - 1)); });
  ASSERT_EQ(LinesOf(black.replies), Chosen(lines, answers)) << path;
  const auto quickest = std::count_if(black.replies.begin(), black.replies.end(),
                                      [&](const PlayNode &w) { return w.mateIn == shortest; });
  std::size_t next = 0;
  EachMove<Side::White>([&](int i) {
    if (!answers[i])
      return;
    const PlayNode &white = black.replies[next++];
    EXPECT_EQ(white.dual, quickest > 1 && white.mateIn == shortest) << path << " " << lines[i];
    CheckWhite(white, budget - 1, path + " " + lines[i]);
  });
}

// The first move is on the board: White's shortest mates after a pass, checked with their
// play; answers their coordinates.
std::vector<std::string> PlayOracle::ThreatUci(const FirstMovePlay &play, const std::string &path) {
  std::vector<std::string> uci;
  if (BlackKingAttacked(pos_) || EachMove<Side::Black>([](int) {}).empty()) {
    EXPECT_TRUE(play.threat.empty()) << path;
    return uci;
  }
  ++pos_.ply;
  *pos_.ply = PlyRecord{};
  PlayNode pass;
  pass.replies = play.threat;
  pass.mateIn = static_cast<short>(ShortestMate(moves_ - 1));
  pass.refutes = pass.mateIn == 0;
  const bool every = everyAnswer_;
  everyAnswer_ = false;
  CheckBlack(pass, moves_ - 1, path + " (pass)");
  everyAnswer_ = every;
  --pos_.ply;
  for (const PlayNode &white : play.threat)
    uci.push_back(problem::CoordinateMove(Text(white.line), true));
  return uci;
}

void PlayOracle::CheckFirstMove(const FirstMovePlay &play) {
  const std::string line = Text(play.move.line);
  AtMove<Side::White>(line, [&] {
    EXPECT_EQ(play.key, MatedIn(moves_ - 1)) << line;
    const std::vector<std::string> threat = ThreatUci(play, "1." + line);
    CheckWhite(play.move, moves_ - 1, "1." + line);
    if (play.move.replies.size() != EachMove<Side::Black>([](int) {}).size())
      return;
    // A reply is answered by the threat when a threat's first move mates in time after it.
    std::size_t at = 0;
    EachMove<Side::Black>([&](int) {
      const PlayNode &black = play.move.replies[at++];
      bool answered = false;
      const auto lines = EachMove<Side::White>([&](int) {});
      std::size_t i = 0;
      EachMove<Side::White>([&](int) {
        const std::string uci = problem::CoordinateMove(lines[i++], true);
        answered = answered || (std::find(threat.begin(), threat.end(), uci) != threat.end() &&
                                MatedIn(moves_ - 2));
      });
      EXPECT_EQ(black.byThreat, answered && !black.refutes) << line << " " << Text(black.line);
    });
  });
}

void PlayOracle::CheckSetPlay(const std::vector<PlayNode> &blackMoves) {
  if (WhiteKingAttacked(pos_)) {
    EXPECT_TRUE(blackMoves.empty());
    return;
  }
  const std::vector<std::string> lines = EachMove<Side::Black>([](int) {});
  ASSERT_EQ(LinesOf(blackMoves), lines) << "set play";
  EachMove<Side::Black>(
      [&](int i) { CheckBlack(blackMoves[i], moves_ - 1, "set play 1..." + lines[i]); });
}

RecordedPlay Play(const std::string &fen, PlayOrder order) {
  const problem::FenPosition position = ParseFenOrFail(fen);
  order.castlingRights = position.castlingRights;
  RecordedPlay play;
  play.result = RunPlay(position.board, order, play);
  return play;
}

bool CheckPlay(const std::string &fen, int moves, bool everyAnswer, int tries) {
  SCOPED_TRACE(fen + ", " + std::to_string(moves) +
               (everyAnswer ? " moves, every answer" : " moves"));
  const RecordedPlay play = Play(fen, {.depth = static_cast<short>(moves),
                                       .search = {.hashMegabytes = 2},
                                       .tries = tries,
                                       .setPlay = true,
                                       .everyAnswer = everyAnswer});
  if (play.result == PlayResult::OpponentInCheck)
    return false;
  EXPECT_EQ(play.result, PlayResult::Ran);
  PlayOracle oracle(ParseFenOrFail(fen), moves, everyAnswer);
  std::vector<std::string> keys, found;
  for (const FirstMovePlay &first : play.firstMoves) {
    (first.key ? keys : found).push_back(Text(first.move.line));
    oracle.CheckFirstMove(first);
  }
  EXPECT_EQ(keys, oracle.Keys());
  EXPECT_EQ(found, oracle.Tries(tries));
  EXPECT_TRUE(play.setPlay.has_value());
  if (play.setPlay)
    oracle.CheckSetPlay(*play.setPlay);
  return true;
}

int CheckRandomPlays(unsigned seed, int moves, int positions) {
  std::mt19937 random(seed);
  int withKeys = 0;
  for (int i = 0, compared = 0; compared < positions; ++i) {
    const std::string fen = RandomFen(random, true);
    const RecordedPlay play = Play(fen, {.depth = static_cast<short>(moves),
                                         .search = {.hashMegabytes = 2},
                                         .tries = 2,
                                         .setPlay = true});
    const auto mates = [](const PlayNode &black) { return !black.refutes; };
    const bool setMates =
        play.setPlay && std::any_of(play.setPlay->begin(), play.setPlay->end(), mates);
    // Positions with a crowd of keys and tries cost much and teach little.
    if (play.firstMoves.size() > 12 || (play.firstMoves.empty() && !setMates))
      continue;
    EXPECT_TRUE(CheckPlay(fen, moves, i % 2 == 0, 2));
    if (::testing::Test::HasFailure())
      return withKeys;
    ++compared;
    withKeys += std::any_of(play.firstMoves.begin(), play.firstMoves.end(),
                            [](const FirstMovePlay &first) { return first.key; });
  }
  return withKeys;
}

} // namespace testing_support
