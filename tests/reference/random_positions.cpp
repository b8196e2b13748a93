#include "tests/reference/random_positions.h"

#include "problem/fen.h"
#include "tests/reference/chess_rules.h"

#include <array>
#include <cctype>
#include <string_view>

namespace reference {

namespace {

using Grid = std::array<std::array<char, 8>, 8>; // [file][rank]

class Builder {
public:
  // `men` men at most, the two kings included.
  Builder(std::mt19937_64 &random, int men) : random_(random), others_(men - 2) {
    for (auto &file : grid_)
      file.fill('.');
  }

  bool Chance(int percent) { return Below(100) < percent; }
  int Below(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }

  bool Full() const { return count_ - kings_ == others_; }
  bool HasKing(bool white) const { return hasKing_[white]; }

  bool Free(int file, int rank) const {
    return file >= 0 && file < 8 && rank >= 0 && rank < 8 && grid_[file][rank] == '.';
  }

  // Refuses a square that is taken or would break the limits of a side.
  bool Put(char man, int file, int rank) {
    const bool white = IsWhite(man);
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(man)));
    if (!Free(file, rank) || (kind == 'P' && (rank == 0 || rank == 7)))
      return false;
    if (men_[white] == 16 || (kind == 'P' && pawns_[white] == 8))
      return false;
    if (kind == 'K' ? hasKing_[white] || KingNear(file, rank) : Full())
      return false;
    grid_[file][rank] = man;
    ++men_[white];
    pawns_[white] += kind == 'P';
    ++count_;
    if (kind == 'K') {
      hasKing_[white] = true;
      ++kings_;
    }
    return true;
  }

  void PutAnywhere(char man) {
    for (int tries = 0; tries < 200; ++tries) {
      if (Put(man, Below(8), Below(8)))
        return;
    }
  }

  // A pawn at home beside whose double step an enemy pawn waits, both steps' squares free.
  void DoubleStepBesideEnemy(bool white) {
    const int file = Below(8);
    const int side = file == 0 ? 1 : file == 7 ? -1 : Chance(50) ? 1 : -1;
    const int home = white ? 1 : 6;
    const int ahead = white ? 1 : -1;
    if (Free(file, home + ahead) && Free(file, home + 2 * ahead) &&
        Free(file + side, home + 2 * ahead) && Put(white ? 'P' : 'p', file, home))
      Put(white ? 'p' : 'P', file + side, home + 2 * ahead);
  }

  // King and one or both rooks at home.
  void CastlingMen(bool white) {
    const int home = white ? 0 : 7;
    if (!Put(white ? 'K' : 'k', 4, home))
      return;
    const bool both = Chance(50);
    if (both || Chance(50))
      Put(white ? 'R' : 'r', 7, home);
    if (both || Chance(50))
      Put(white ? 'R' : 'r', 0, home);
  }

  // Every right is asked for; FormatFen keeps those whose king and rook stand at home.
  problem::FenPosition Position(bool whiteToMove) const {
    constexpr std::string_view kLetters = ".PRNBQKprnbqk"; // by ManCode
    problem::FenPosition position;
    for (int file = 0; file < 8; ++file) {
      for (int rank = 0; rank < 8; ++rank)
        position.board[problem::SquareNumber(file, rank)] =
            static_cast<int>(kLetters.find(grid_[file][rank]));
    }
    position.whiteToMove = whiteToMove;
    position.castlingRights = 15;
    return position;
  }

private:
  bool KingNear(int file, int rank) const {
    for (int f = file - 1; f <= file + 1; ++f) {
      for (int r = rank - 1; r <= rank + 1; ++r) {
        if (f >= 0 && f < 8 && r >= 0 && r < 8 && std::toupper(grid_[f][r]) == 'K')
          return true;
      }
    }
    return false;
  }

  std::mt19937_64 &random_;
  Grid grid_{};
  int others_;
  std::array<int, 2> men_{};
  std::array<int, 2> pawns_{};
  std::array<bool, 2> hasKing_{};
  int count_ = 0;
  int kings_ = 0;
};

problem::FenPosition Attempt(std::mt19937_64 &random, int men) {
  Builder board(random, men);
  const bool whiteToMove = board.Chance(50);
  // Now and then the side to move keeps its king alone, on the edge: stalemates and mates.
  const bool lone = board.Chance(15);
  for (const bool white : {true, false}) {
    if (!(lone && white == whiteToMove) && board.Chance(30))
      board.CastlingMen(white);
  }
  // A king on the edge is mated more often, which the tasks have to find.
  const bool edgeKingWhite = lone ? whiteToMove : false;
  if (lone || board.Chance(50)) {
    const int along = board.Below(8);
    const int edge = board.Below(4);
    board.Put(edgeKingWhite ? 'K' : 'k',
              edge < 2    ? along
              : edge == 2 ? 0
                          : 7,
              edge < 2 ? 7 * edge : along);
  }
  for (const bool white : {true, false}) {
    while (!board.HasKing(white))
      board.PutAnywhere(white ? 'K' : 'k');
  }
  const auto mayHaveMen = [&](bool white) { return !lone || white != whiteToMove; };
  for (const bool white : {true, false}) {
    for (int i = board.Below(3); i > 0 && mayHaveMen(white) && mayHaveMen(!white); --i)
      board.DoubleStepBesideEnemy(white);
  }
  for (int i = board.Below(3); i > 0; --i) {
    const bool white = board.Chance(60);
    if (mayHaveMen(white))
      board.Put(white ? 'P' : 'p', board.Below(8), white ? 6 : 1);
  }
  // White gets the larger share and the heavier men: most tasks are mates to be found.
  constexpr char kWhiteMen[] = "QQRRBBNNPPPP";
  constexpr char kBlackMen[] = "qrbnnppppp";
  for (int tries = 0; !board.Full() && tries < 500; ++tries) {
    const bool white = board.Chance(70);
    if (!mayHaveMen(white))
      continue;
    if (white)
      board.PutAnywhere(kWhiteMen[board.Below(sizeof kWhiteMen - 1)]);
    else
      board.PutAnywhere(kBlackMen[board.Below(sizeof kBlackMen - 1)]);
  }
  return board.Position(whiteToMove);
}

} // namespace

std::string RandomTaskFen(std::mt19937_64 &random, int men) {
  for (;;) {
    const std::string fen = problem::FormatFen(Attempt(random, men));
    const Position position = FromFen(fen);
    // A few of these are kept: the task has to refuse them.
    if (!KingAttacked(position, !position.whiteToMove) || random() % 25 == 0)
      return fen;
  }
}

} // namespace reference
