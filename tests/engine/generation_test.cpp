// The generator's order, its special moves and what it restores, watched move by move through
// a visitor that writes each move down as text.
#include "engine/generator.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <sstream>

namespace {

using engine::Position;
using engine::Side;
using Moves = std::vector<std::string>;

std::string SquareName(const engine::CellCode *cell) {
  const int index = engine::IndexOf(cell);
  return {static_cast<char>('a' + index / 10), static_cast<char>('1' + index % 10)};
}

// The move of the current record as the board shows it once made: "g1f3", "e7e8q", "e5d6 ep",
// and castling as the king's move, "e1g1 0-0", read from where the king now stands.
std::string MoveText(const Position &pos) {
  const engine::PlyRecord &p = *pos.ply;
  if (p.flags & (engine::kShortCastling | engine::kLongCastling)) {
    const bool white = (*p.to & engine::kWhite) != 0;
    const engine::CellCode *king = pos.men[white ? 1 : pos.allMen];
    return (white ? "e1" : "e8") + SquareName(king) +
           (p.flags & engine::kShortCastling ? " 0-0" : " 0-0-0");
  }
  std::string text = SquareName(p.from) + SquareName(p.to);
  if (p.flags & engine::kPromotion) {
    const unsigned kind = (*p.to & engine::kKindMask) >> 8; // bishop 1, rook 2, queen 3, knight 4
    text += kind <= 4 ? "?brqn"[kind] : '?';
  }
  if (p.flags & engine::kEnPassant) {
    text += *p.capturedCell == engine::kEmpty ? " ep" : " ep with the pawn still there";
  }
  return text;
}

// Writes down every move made (legal or not) and every legal one with the working rights seen
// while it stands on the board; stopAfter > 0 ends the level at that legal move.
struct Recorder {
  Position *pos = nullptr;
  int stopAfter = 0;
  Moves made;
  Moves legal;
  std::vector<std::uint32_t> rights;

  void Make() {
    engine::MakeMove(*pos);
    made.push_back(MoveText(*pos));
  }
  bool Visit() {
    legal.push_back(made.back());
    rights.push_back(pos->rights);
    engine::UnmakeMove(*pos);
    return static_cast<int>(legal.size()) == stopAfter;
  }
};

template <Side S>
Recorder MovesAfter(Position &pos, const Moves &line, std::size_t at, int stopAfter);

// Plays line[at] when the generator offers it and records the level below; a search ends its
// level in the same way once it has its answer.
template <Side S> struct Follower {
  Position &pos;
  const Moves &line;
  std::size_t at;
  int stopAfter;
  Recorder below;
  bool found = false;

  void Make() { engine::MakeMove(pos); }
  bool Visit() {
    if (MoveText(pos) == line[at]) {
      constexpr Side other = S == Side::White ? Side::Black : Side::White;
      ++pos.ply;
      below = MovesAfter<other>(pos, line, at + 1, stopAfter);
      --pos.ply;
      found = true;
    }
    engine::UnmakeMove(pos);
    return found;
  }
};

template <Side S>
Recorder MovesAfter(Position &pos, const Moves &line, std::size_t at, int stopAfter) {
  if (at == line.size()) {
    Recorder recorder{&pos, stopAfter};
    engine::GenerateMoves<S>(pos, recorder);
    return recorder;
  }
  Follower<S> follower{pos, line, at, stopAfter, {}};
  engine::GenerateMoves<S>(pos, follower);
  EXPECT_TRUE(follower.found) << "the generator never offered " << line[at];
  return follower.below;
}

// Stands at a task's first level: the record before it holds no move. Rights not given are the
// FEN's.
bool Prepare(Position &pos, const std::string &fen, int rights = -1) {
  const problem::FenPosition position = testing_support::PlaceFen(pos, fen);
  pos.PrepareTask(4);
  pos.rights = rights < 0 ? position.castlingRights : static_cast<std::uint32_t>(rights);
  pos.ply = pos.plyStack.data() + 1;
  return position.whiteToMove;
}

Recorder RunLine(Position &pos, bool white, const Moves &line = {}, int stopAfter = 0) {
  return white ? MovesAfter<Side::White>(pos, line, 0, stopAfter)
               : MovesAfter<Side::Black>(pos, line, 0, stopAfter);
}

Moves Split(const std::string &text) {
  Moves moves;
  std::istringstream in(text);
  for (std::string move; in >> move;) {
    moves.push_back(move);
    // Castling and en passant carry a second word.
    if (move == "0-0" || move == "0-0-0" || move == "ep") {
      moves.pop_back();
      moves.back() += " " + move;
    }
  }
  return moves;
}

Recorder Generate(Position &pos, const std::string &fen, const std::string &line = "",
                  int rights = -1) {
  return RunLine(pos, Prepare(pos, fen, rights), Split(line));
}

Recorder Generate(const std::string &fen, const std::string &line = "") {
  Position pos;
  return Generate(pos, fen, line);
}

Moves From(const Moves &moves, const std::string &square) {
  Moves picked;
  for (const std::string &m : moves) {
    if (m.compare(0, 2, square) == 0)
      picked.push_back(m);
  }
  return picked;
}

bool Contains(const Moves &moves, const std::string &move) {
  return std::find(moves.begin(), moves.end(), move) != moves.end();
}

struct OrderCase {
  const char *name;
  const char *fen;
  const char *line; // moves played first, each found by the generator
  const char *from;
  const char *legal;
};

const OrderCase kOrders[] = {
    {"KnightJumpsCounterClockwiseFromTwoLeftOneUp", "7k/8/8/8/3N4/8/8/7K w - - 0 1", "", "d4",
     "d4b5 d4c6 d4e6 d4f5 d4f3 d4e2 d4c2 d4b3"},
    {"KingStepsDiagonalsThenUpDownLeftRight", "7k/8/8/8/3K4/8/8/8 w - - 0 1", "", "d4",
     "d4c5 d4e5 d4e3 d4c3 d4d5 d4d3 d4c4 d4e4"},
    {"KingStepsThenShortThenLongCastling", "4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", "", "e1",
     "e1d2 e1f2 e1e2 e1d1 e1f1 e1g1 0-0 e1c1 0-0-0"},
    {"QueenRaysOrthogonalBeforeDiagonal", "k7/8/8/2ppp3/2pQp3/2ppp3/8/7K w - - 0 1", "", "d4",
     "d4d5 d4e4 d4d3 d4c4 d4e5 d4e3 d4c3 d4c5"},
    {"RayRunsUntilACaptureOrAnOwnMan", "k7/8/8/8/p7/8/8/R1N4K w - - 0 1", "", "a1",
     "a1a2 a1a3 a1a4 a1b1"},
    {"BishopRaysUpRightDownRightDownLeftUpLeft", "k7/8/8/8/8/2p5/1B6/7K w - - 0 1", "", "b2",
     "b2c3 b2c1 b2a1 b2a3"},
    {"WhitePromotesPushThenLeftThenRightEachNQRB", "3r1r1k/4P3/8/8/8/8/8/K7 w - - 0 1", "", "e7",
     "e7e8n e7e8q e7e8r e7e8b e7d8n e7d8q e7d8r e7d8b e7f8n e7f8q e7f8r e7f8b"},
    {"BlackPromotesPushThenLeftThenRightEachNQRB", "k7/8/8/8/8/8/3p4/2R1R2K b - - 0 1", "", "d2",
     "d2d1n d2d1q d2d1r d2d1b d2c1n d2c1q d2c1r d2c1b d2e1n d2e1q d2e1r d2e1b"},
    {"WhiteDoubleStepBeforeSingleStepBeforeCaptures", "k7/8/8/8/8/p1p5/1P6/7K w - - 0 1", "", "b2",
     "b2b4 b2b3 b2a3 b2c3"},
    {"BlackDoubleStepBeforeSingleStepBeforeCaptures", "k7/6p1/5N1N/8/8/8/8/7K b - - 0 1", "", "g7",
     "g7g5 g7g6 g7f6 g7h6"},
    {"DoubleStepNeedsTheFarCellEmpty", "k7/8/8/8/P7/8/P7/7K w - - 0 1", "", "a2", "a2a3"},
    {"PawnDoesNotJumpOverTheCellAhead", "k7/8/8/8/8/N7/P7/7K w - - 0 1", "", "a2", ""},
    {"PawnPlacedOffItsHomeRankHasNoDoubleStep", "k7/8/8/8/8/P7/8/7K w - - 0 1", "", "a3", "a3a4"},
    // En passant: only right after a double step, by a pawn beside it, never at a task's start.
    {"EnPassantFromTheRight", "4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1", "d7d5", "e5", "e5d6 ep e5e6"},
    {"EnPassantFromTheLeft", "4k3/3p4/8/2P5/8/8/8/4K3 b - - 0 1", "d7d5", "c5", "c5d6 ep c5c6"},
    {"EnPassantByBlack", "4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1", "e2e4", "d4", "d4e3 ep d4d3"},
    {"NoEnPassantFromTheSquareBelow", "4k3/3p4/8/8/3P4/8/8/4K3 b - - 0 1", "d7d5", "d4", ""},
    {"NoEnPassantAfterASingleStep", "4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1", "d7d6", "e5", "e5e6 e5d6"},
    {"NoEnPassantAfterADoubleStepElsewhere", "4k3/p7/8/4P3/8/8/8/4K3 b - - 0 1", "a7a5", "e5",
     "e5e6"},
    {"NoEnPassantOneMoveLater", "4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1", "d7d5 e1e2 e8e7", "e5",
     "e5e6"},
    {"NoEnPassantAtTheFirstMoveOfATask", "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "", "e5", "e5e6"},
};

class GenerationOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(GenerationOrder, ProducesTheMovesOfTheManInOrder) {
  const OrderCase &c = GetParam();
  EXPECT_EQ(From(Generate(c.fen, c.line).legal, c.from), Split(c.legal));
}

INSTANTIATE_TEST_SUITE_P(Men, GenerationOrder, ::testing::ValuesIn(kOrders),
                         [](const auto &info) { return std::string(info.param.name); });

Moves StartSquares(const Moves &moves) {
  Moves squares;
  for (const std::string &m : moves) {
    if (squares.empty() || squares.back() != m.substr(0, 2))
      squares.push_back(m.substr(0, 2));
  }
  return squares;
}

TEST(MenOrder, BoardOrderFromA1ToH8WithTheKingLast) {
  EXPECT_EQ(StartSquares(Generate("3k3B/p7/8/8/8/7r/P7/KN6 w - - 0 1").legal),
            Split("a2 b1 h8 a1"));
  EXPECT_EQ(StartSquares(Generate("3k3B/p7/8/8/8/7r/P7/KN6 b - - 0 1").legal), Split("a7 h3 d8"));
}

struct CastlingCase {
  const char *name;
  const char *fen;
  const char *line;
  const char *castling;
  bool made;
  bool legal;
};

// Castling is refused before it is made when the king stands attacked or would pass an
// attacked square; landing in check is found like any other illegal move. A right lost below a
// move stays lost down that line.
const CastlingCase kCastlings[] = {
    {"ShortWithFreePath", "7k/8/8/8/8/8/8/4K2R w K - 0 1", "", "e1g1 0-0", true, true},
    {"ShortWithoutTheRight", "7k/8/8/8/8/8/8/4K2R w - - 0 1", "", "e1g1 0-0", false, false},
    {"ShortOutOfCheck", "4r2k/8/8/8/8/8/8/4K2R w K - 0 1", "", "e1g1 0-0", false, false},
    {"ShortThroughAttackedF1", "5r1k/8/8/8/8/8/8/4K2R w K - 0 1", "", "e1g1 0-0", false, false},
    {"ShortIntoAttackedG1", "6rk/8/8/8/8/8/8/4K2R w K - 0 1", "", "e1g1 0-0", true, false},
    {"LongWithAttackedB1", "1r5k/8/8/8/8/8/8/R3K3 w Q - 0 1", "", "e1c1 0-0-0", true, true},
    {"LongWithOccupiedB1", "7k/8/8/8/8/8/8/RN2K3 w Q - 0 1", "", "e1c1 0-0-0", false, false},
    {"LongThroughAttackedD1", "3r3k/8/8/8/8/8/8/R3K3 w Q - 0 1", "", "e1c1 0-0-0", false, false},
    {"LongIntoAttackedC1", "2r4k/8/8/8/8/8/8/R3K3 w Q - 0 1", "", "e1c1 0-0-0", true, false},
    {"BlackLong", "r3k3/8/8/8/8/8/8/4K3 b q - 0 1", "", "e8c8 0-0-0", true, true},
    {"BlackShortWhileOtherMenMove", "4k2r/p7/8/8/8/8/8/K7 b k - 0 1", "a7a6 a1a2", "e8g8 0-0", true,
     true},
    {"BlackShortLostWhenTheRookLeavesH8", "4k2r/p7/8/8/8/8/8/K7 b k - 0 1", "h8h7 a1a2", "e8g8 0-0",
     false, false},
    {"BlackShortNotRegainedWhenTheRookReturns", "4k2r/p7/8/8/8/8/8/K7 b k - 0 1",
     "h8h7 a1a2 h7h8 a2a1", "e8g8 0-0", false, false},
    {"BlackShortLostWhenTheKingStepsAwayAndBack", "4k2r/p7/8/8/8/8/8/K7 b k - 0 1",
     "e8f8 a1a2 f8e8 a2a1", "e8g8 0-0", false, false},
    {"BlackShortLostWhenTheRookIsTakenOnH8", "4k2r/8/8/8/8/8/1B6/K7 w k - 0 1", "b2h8", "e8g8 0-0",
     false, false},
    {"WhiteShortLostWhenAnythingIsTakenOnH1", "4k3/8/8/8/8/6n1/8/4K2R b K - 0 1", "g3h1",
     "e1g1 0-0", false, false},
};

class Castling : public ::testing::TestWithParam<CastlingCase> {};

TEST_P(Castling, IsMadeAndFoundLegalOnlyWhenAllowed) {
  const CastlingCase &c = GetParam();
  const Recorder moves = Generate(c.fen, c.line);
  EXPECT_EQ(Contains(moves.made, c.castling), c.made);
  EXPECT_EQ(Contains(moves.legal, c.castling), c.legal);
}

INSTANTIATE_TEST_SUITE_P(Kings, Castling, ::testing::ValuesIn(kCastlings),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CaptureOnARookCorner, TakesTheRightForThatMoveOnly) {
  // The knight's jumps from g3: e4, f5, h5, xh1, f1, e2; the later ones see the right again.
  Position pos;
  const Recorder moves = Generate(pos, "4k3/8/8/8/8/6n1/8/4K2R b K - 0 1");
  const Moves knight = From(moves.legal, "g3");
  ASSERT_EQ(knight, Split("g3e4 g3f5 g3h5 g3h1 g3f1 g3e2"));
  for (std::size_t i = 0; i < knight.size(); ++i) {
    EXPECT_EQ(moves.rights[i], knight[i] == "g3h1" ? 0u : 2u) << knight[i];
  }
  EXPECT_EQ(pos.rights, 2u);
}

struct WorkingRightsCase {
  const char *name;
  const char *fen;
  int rights;
  const char *from;
  std::uint32_t whileMoving;
};

const WorkingRightsCase kWorkingRights[] = {
    {"QueenLeavingA1KeepsWhiteLong", "4k3/8/8/8/8/8/8/Q3K3 w - - 0 1", 1, "a1", 1},
    {"RookLeavingA1DropsWhiteLong", "4k3/8/8/8/8/8/8/R3K2R w - - 0 1", 3, "a1", 2},
    {"RookLeavingH1DropsWhiteShort", "4k3/8/8/8/8/8/8/R3K2R w - - 0 1", 3, "h1", 1},
    {"KingDropsBothWhiteRights", "r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1", 15, "e1", 12},
    {"RookOffItsCornerDropsNothing", "4k3/8/8/8/8/8/8/1R2K2R w - - 0 1", 2, "b1", 2},
    {"WhiteRookOnH8LeavesBlackShortAlone", "7R/k7/8/8/8/8/8/4K3 w - - 0 1", 8, "h8", 8},
    {"RookLeavingH8DropsBlackShort", "r3k2r/8/8/8/8/8/8/4K3 b - - 0 1", 12, "h8", 4},
    {"KingDropsBothBlackRights", "r3k2r/8/8/8/8/8/8/R3K2R b - - 0 1", 15, "e8", 3},
};

class WorkingRights : public ::testing::TestWithParam<WorkingRightsCase> {};

TEST_P(WorkingRights, SeenByEveryMoveOfTheManAndRestoredAfter) {
  const WorkingRightsCase &c = GetParam();
  Position pos;
  const Recorder moves = Generate(pos, c.fen, "", c.rights);
  int seen = 0;
  for (std::size_t i = 0; i < moves.legal.size(); ++i) {
    if (moves.legal[i].compare(0, 2, c.from) != 0)
      continue;
    ++seen;
    EXPECT_EQ(moves.rights[i], c.whileMoving) << moves.legal[i];
  }
  EXPECT_GT(seen, 0);
  EXPECT_EQ(pos.rights, static_cast<std::uint32_t>(c.rights));
}

INSTANTIATE_TEST_SUITE_P(Men, WorkingRights, ::testing::ValuesIn(kWorkingRights),
                         [](const auto &info) { return std::string(info.param.name); });

struct Snapshot {
  std::array<engine::CellCode, engine::kBoardCells> cells;
  std::array<engine::CellCode *, engine::kMenListSize> men;
  std::uint32_t rights;
  engine::PlyRecord *ply;
  bool operator==(const Snapshot &) const = default;
};

Snapshot TakeSnapshot(const Position &pos) {
  Snapshot s;
  std::copy(pos.Cells(), pos.Cells() + engine::kBoardCells, s.cells.begin());
  std::copy(std::begin(pos.men), std::end(pos.men), s.men.begin());
  s.rights = pos.rights;
  s.ply = pos.ply;
  return s;
}

// Castling both ways, rooks on their corners, unmoved pawns, promotions with a capture on a
// corner and, after d7-d5, en passant: everything the generator changes while a man's moves
// are tried, for Black at the first level and for White one level down.
TEST(Restoration, BoardMenAndRightsAreAsBeforeWhereverTheLevelEnds) {
  const char *fen = "r3k2r/1P1p4/8/4P3/8/8/4P3/R3K2R b KQkq - 0 1";
  for (const Moves &line : {Moves{}, Moves{"d7d5"}}) {
    Position pos;
    const bool white = Prepare(pos, fen);
    const int count = static_cast<int>(RunLine(pos, white, line).legal.size());
    ASSERT_GT(count, 20);
    for (int stopAfter = 0; stopAfter <= count; ++stopAfter) {
      Prepare(pos, fen);
      const Snapshot before = TakeSnapshot(pos);
      const Recorder moves = RunLine(pos, white, line, stopAfter);
      EXPECT_TRUE(TakeSnapshot(pos) == before)
          << "level " << line.size() + 1 << " ended after "
          << (stopAfter == 0 ? "all moves" : moves.legal.back());
    }
  }
}

} // namespace
