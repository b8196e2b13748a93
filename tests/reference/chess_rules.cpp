#include "tests/reference/chess_rules.h"

#include "problem/fen.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace reference {

namespace {

struct Step {
  int file;
  int rank;
};

// The orders in which a directmate solver tries a man's moves.
constexpr std::array<Step, 8> kKnightJumps = {
    {{-2, 1}, {-1, 2}, {1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}}};
constexpr std::array<Step, 8> kKingSteps = {
    {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}, {0, 1}, {0, -1}, {-1, 0}, {1, 0}}};
constexpr Step kOrthogonal[] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
constexpr Step kDiagonal[] = {{1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
constexpr char kPromotions[] = {'N', 'Q', 'R', 'B'};

bool OnBoard(int file, int rank) { return file >= 0 && file < 8 && rank >= 0 && rank < 8; }

char Kind(char man) { return IsBlack(man) ? static_cast<char>(man - 'a' + 'A') : man; }

bool Own(char man, bool white) { return white ? IsWhite(man) : IsBlack(man); }
bool Enemy(char man, bool white) { return white ? IsBlack(man) : IsWhite(man); }

Square KingSquare(const Position &position, bool white) {
  for (int file = 0; file < 8; ++file) {
    for (int rank = 0; rank < 8; ++rank) {
      if (position.board[file][rank] == (white ? 'K' : 'k'))
        return {file, rank};
    }
  }
  throw std::logic_error("a position without its king");
}

// Collects the moves of one man, legal or not; LegalMoves filters them.
class ManMoves {
public:
  ManMoves(const Position &position, Square from, std::vector<Move> &out)
      : p_(position), from_(from), white_(position.whiteToMove), out_(out) {}

  void Generate() {
    const char kind = Kind(p_.At(from_));
    if (kind == 'P')
      Pawn();
    if (kind == 'N' || kind == 'K') {
      for (const Step &s : kind == 'N' ? kKnightJumps : kKingSteps)
        Jump(s);
    }
    if (kind == 'R' || kind == 'Q')
      Slide(kOrthogonal);
    if (kind == 'B' || kind == 'Q')
      Slide(kDiagonal);
    if (kind == 'K')
      Castling();
  }

private:
  void Add(Square to, MoveKind kind = MoveKind::Ordinary, char promotion = 0) {
    out_.push_back({from_, to, promotion, kind});
  }

  void Jump(Step s) {
    const Square to{from_.file + s.file, from_.rank + s.rank};
    if (OnBoard(to.file, to.rank) && !Own(p_.At(to), white_))
      Add(to);
  }

  template <std::size_t N> void Slide(const Step (&rays)[N]) {
    for (const Step &s : rays) {
      Square to{from_.file + s.file, from_.rank + s.rank};
      for (; OnBoard(to.file, to.rank); to = {to.file + s.file, to.rank + s.rank}) {
        if (p_.At(to) != '.') {
          if (Enemy(p_.At(to), white_))
            Add(to);
          break;
        }
        Add(to);
      }
    }
  }

  void Pawn() {
    const int ahead = white_ ? 1 : -1;
    const Square single{from_.file, from_.rank + ahead};
    const bool singleFree = p_.At(single) == '.';
    std::vector<Square> captures;
    for (const int side : {-1, 1}) {
      const Square target{from_.file + side, from_.rank + ahead};
      if (OnBoard(target.file, target.rank) && Enemy(p_.At(target), white_))
        captures.push_back(target);
    }
    if (from_.rank == (white_ ? 6 : 1)) {
      if (singleFree)
        Promotions(single);
      for (const Square &target : captures)
        Promotions(target);
      return;
    }
    if (from_.rank == (white_ ? 1 : 6)) {
      const Square twice{from_.file, from_.rank + 2 * ahead};
      if (singleFree && p_.At(twice) == '.')
        Add(twice, MoveKind::DoubleStep);
    } else if (from_.rank == (white_ ? 4 : 3) && p_.doubleStepFile >= 0 &&
               std::abs(p_.doubleStepFile - from_.file) == 1) {
      Add({p_.doubleStepFile, from_.rank + ahead}, MoveKind::EnPassant);
    }
    if (singleFree)
      Add(single);
    for (const Square &target : captures)
      Add(target);
  }

  void Promotions(Square to) {
    for (const char man : kPromotions)
      Add(to, MoveKind::Ordinary, man);
  }

  // The king may not castle out of check or across an attacked square; landing in check is
  // refused with every other move that leaves the king attacked.
  void Castling() {
    const int home = white_ ? 0 : 7;
    if (from_ != Square{4, home} || KingAttacked(p_, white_))
      return;
    const auto empty = [&](int file) { return p_.board[file][home] == '.'; };
    const auto safe = [&](int file) { return !Attacked(p_, {file, home}, !white_); };
    if (p_.rights[white_ ? kWhiteShort : kBlackShort] && empty(5) && empty(6) && safe(5))
      Add({6, home}, MoveKind::ShortCastling);
    if (p_.rights[white_ ? kWhiteLong : kBlackLong] && empty(3) && empty(2) && empty(1) && safe(3))
      Add({2, home}, MoveKind::LongCastling);
  }

  const Position &p_;
  Square from_;
  bool white_;
  std::vector<Move> &out_;
};

// A right ends when a man leaves or reaches its rook's corner or its king's home square.
void TakeRightsAt(Position &position, Square square) {
  const Square rook[] = {{7, 0}, {0, 0}, {7, 7}, {0, 7}}; // in the order of Right
  for (int right = kWhiteShort; right <= kBlackLong; ++right) {
    if (square == rook[right] || square == Square{4, rook[right].rank})
      position.rights[right] = false;
  }
}

std::vector<Move> PseudoMoves(const Position &position) {
  std::vector<Move> moves;
  moves.reserve(64);
  const bool white = position.whiteToMove;
  for (int file = 0; file < 8; ++file) {
    for (int rank = 0; rank < 8; ++rank) {
      const char man = position.board[file][rank];
      if (Own(man, white) && Kind(man) != 'K')
        ManMoves(position, {file, rank}, moves).Generate();
    }
  }
  ManMoves(position, KingSquare(position, white), moves).Generate();
  return moves;
}

bool Legal(const Position &position, const Move &move) {
  return !KingAttacked(Play(position, move), position.whiteToMove);
}

} // namespace

bool IsWhite(char man) { return man >= 'A' && man <= 'Z'; }
bool IsBlack(char man) { return man >= 'a' && man <= 'z'; }

Position FromFen(const std::string &fen) {
  problem::FenPosition parsed;
  std::string error;
  if (!problem::ParseFen(fen, parsed, error))
    throw std::invalid_argument(fen + ": " + error);
  constexpr char kLetters[] = ".PRNBQKprnbqk";
  Position position;
  for (int n = 0; n < 64; ++n)
    position.board[n / 8][n % 8] = kLetters[parsed.board[n]];
  position.whiteToMove = parsed.whiteToMove;
  // Bits of the shared CastlingRights word: 1 white long, 2 white short, 4 black long, 8 black
  // short.
  position.rights = {(parsed.castlingRights & 2) != 0, (parsed.castlingRights & 1) != 0,
                     (parsed.castlingRights & 8) != 0, (parsed.castlingRights & 4) != 0};
  return position;
}

bool Attacked(const Position &position, Square square, bool byWhite) {
  const auto holds = [&](int file, int rank, char kind) {
    if (!OnBoard(file, rank))
      return false;
    const char man = position.board[file][rank];
    return Own(man, byWhite) && Kind(man) == kind;
  };
  const int pawnRank = square.rank + (byWhite ? -1 : 1);
  if (holds(square.file - 1, pawnRank, 'P') || holds(square.file + 1, pawnRank, 'P'))
    return true;
  for (const Step &s : kKnightJumps) {
    if (holds(square.file + s.file, square.rank + s.rank, 'N'))
      return true;
  }
  for (const Step &s : kKingSteps) {
    if (holds(square.file + s.file, square.rank + s.rank, 'K'))
      return true;
  }
  const auto rayHits = [&](Step s, char slider) {
    int file = square.file + s.file;
    int rank = square.rank + s.rank;
    while (OnBoard(file, rank) && position.board[file][rank] == '.') {
      file += s.file;
      rank += s.rank;
    }
    return holds(file, rank, slider) || holds(file, rank, 'Q');
  };
  for (const Step &s : kOrthogonal) {
    if (rayHits(s, 'R'))
      return true;
  }
  for (const Step &s : kDiagonal) {
    if (rayHits(s, 'B'))
      return true;
  }
  return false;
}

bool KingAttacked(const Position &position, bool white) {
  return Attacked(position, KingSquare(position, white), !white);
}

std::vector<Move> LegalMoves(const Position &position) {
  std::vector<Move> legal;
  for (const Move &move : PseudoMoves(position)) {
    if (Legal(position, move))
      legal.push_back(move);
  }
  return legal;
}

bool HasLegalMove(const Position &position) {
  for (const Move &move : PseudoMoves(position)) {
    if (Legal(position, move))
      return true;
  }
  return false;
}

Position Play(const Position &position, const Move &move) {
  Position next = position;
  char man = next.At(move.from);
  if (move.promotion != 0)
    man = position.whiteToMove ? move.promotion : static_cast<char>(std::tolower(move.promotion));
  next.board[move.from.file][move.from.rank] = '.';
  next.board[move.to.file][move.to.rank] = man;
  if (move.kind == MoveKind::EnPassant)
    next.board[move.to.file][move.from.rank] = '.';
  const int home = move.from.rank;
  if (move.kind == MoveKind::ShortCastling) {
    next.board[5][home] = next.board[7][home];
    next.board[7][home] = '.';
  } else if (move.kind == MoveKind::LongCastling) {
    next.board[3][home] = next.board[0][home];
    next.board[0][home] = '.';
  }
  TakeRightsAt(next, move.from);
  TakeRightsAt(next, move.to);
  next.doubleStepFile = move.kind == MoveKind::DoubleStep ? move.from.file : -1;
  next.whiteToMove = !position.whiteToMove;
  return next;
}

std::uint64_t Perft(const Position &position, int depth) {
  if (depth < 1)
    return 1;
  std::uint64_t leaves = 0;
  for (const Move &move : LegalMoves(position))
    leaves += depth == 1 ? 1 : Perft(Play(position, move), depth - 1);
  return leaves;
}

} // namespace reference
