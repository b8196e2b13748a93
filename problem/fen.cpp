#include "problem/fen.h"

#include "engine/man_codes.h"
#include "problem/utf8.h"

#include <sstream>
#include <vector>

namespace problem {

namespace {

constexpr char kManLetters[] = ".PRNBQKprnbqk";

int ManFromLetter(char letter) {
  using namespace engine;
  switch (letter) {
  case 'P':
    return kWhitePawn;
  case 'R':
    return kWhiteRook;
  case 'N':
    return kWhiteKnight;
  case 'B':
    return kWhiteBishop;
  case 'Q':
    return kWhiteQueen;
  case 'K':
    return kWhiteKing;
  case 'p':
    return kBlackPawn;
  case 'r':
    return kBlackRook;
  case 'n':
    return kBlackKnight;
  case 'b':
    return kBlackBishop;
  case 'q':
    return kBlackQueen;
  case 'k':
    return kBlackKing;
  default:
    return -1;
  }
}

bool ParsePlacement(std::string_view field, Board &board, std::string &error) {
  board.fill(engine::kNoMan);
  int rank = 7;
  int file = 0;
  for (std::size_t at = 0; at < field.size(); ++at) {
    const char c = field[at];
    if (c == '/') {
      if (file != 8) {
        error = "rank " + std::to_string(rank + 1) + " does not hold 8 squares";
        return false;
      }
      if (--rank < 0) {
        error = "more than 8 ranks";
        return false;
      }
      file = 0;
    } else if (c >= '1' && c <= '8') {
      file += c - '0';
      if (file > 8) {
        error = "rank " + std::to_string(rank + 1) + " holds more than 8 squares";
        return false;
      }
    } else {
      const int man = ManFromLetter(c);
      if (man < 0) {
        // Quoted whole, so that a character of several bytes is not cut in half.
        std::size_t next = at;
        NextCharacter(field, next);
        error = "unknown piece letter '" + std::string(field.substr(at, next - at)) + "'";
        return false;
      }
      if (file > 7) {
        error = "rank " + std::to_string(rank + 1) + " holds more than 8 squares";
        return false;
      }
      board[SquareNumber(file++, rank)] = man;
    }
  }
  if (rank != 0) {
    error = "the placement has " + std::to_string(8 - rank) + " ranks, not 8";
    return false;
  }
  if (file != 8) {
    error = "rank 1 does not hold 8 squares";
    return false;
  }
  return true;
}

bool ParseCastling(std::string_view field, std::uint32_t &rights, std::string &error) {
  rights = 0;
  if (field == "-")
    return true;
  for (char c : field) {
    switch (c) {
    case 'K':
      rights |= engine::kWhiteShort;
      break;
    case 'Q':
      rights |= engine::kWhiteLong;
      break;
    case 'k':
      rights |= engine::kBlackShort;
      break;
    case 'q':
      rights |= engine::kBlackLong;
      break;
    default:
      error = "bad castling field '" + std::string(field) + "'";
      return false;
    }
  }
  return true;
}

bool IsEnPassantField(std::string_view field) {
  return field == "-" || (field.size() == 2 && field[0] >= 'a' && field[0] <= 'h' &&
                          (field[1] == '3' || field[1] == '6'));
}

bool IsCounter(std::string_view field) {
  if (field.empty())
    return false;
  for (char c : field) {
    if (c < '0' || c > '9')
      return false;
  }
  return true;
}

} // namespace

bool ParseFen(std::string_view fen, FenPosition &position, std::string &error) {
  std::istringstream in{std::string(fen)};
  std::vector<std::string> fields;
  for (std::string field; in >> field;)
    fields.push_back(field);
  if (fields.size() < 2 || fields.size() > 6) {
    error = "a FEN needs the placement and the side to move, and at most 6 fields";
    return false;
  }
  FenPosition parsed;
  if (!ParsePlacement(fields[0], parsed.board, error))
    return false;
  if (fields[1] != "w" && fields[1] != "b") {
    error = "the side to move must be 'w' or 'b', not '" + fields[1] + "'";
    return false;
  }
  parsed.whiteToMove = fields[1] == "w";
  std::uint32_t requested = 0;
  if (fields.size() > 2 && !ParseCastling(fields[2], requested, error))
    return false;
  if (fields.size() > 3 && !IsEnPassantField(fields[3])) {
    error = "bad en-passant field '" + fields[3] + "'";
    return false;
  }
  for (std::size_t i = 4; i < fields.size(); ++i) {
    if (!IsCounter(fields[i])) {
      error = "bad move counter '" + fields[i] + "'";
      return false;
    }
  }
  parsed.castlingRights = RightsAtHome(parsed.board, requested);
  position = parsed;
  return true;
}

std::string FormatFen(const FenPosition &position) {
  std::string fen;
  for (int rank = 7; rank >= 0; --rank) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      const int man = position.board[SquareNumber(file, rank)];
      if (man <= engine::kNoMan || man > engine::kBlackKing) {
        ++empty;
        continue;
      }
      if (empty > 0)
        fen += static_cast<char>('0' + empty);
      empty = 0;
      fen += kManLetters[man];
    }
    if (empty > 0)
      fen += static_cast<char>('0' + empty);
    if (rank > 0)
      fen += '/';
  }
  fen += position.whiteToMove ? " w " : " b ";
  const std::uint32_t rights = RightsAtHome(position.board, position.castlingRights);
  const std::pair<std::uint32_t, char> letters[] = {{engine::kWhiteShort, 'K'},
                                                    {engine::kWhiteLong, 'Q'},
                                                    {engine::kBlackShort, 'k'},
                                                    {engine::kBlackLong, 'q'}};
  const std::size_t before = fen.size();
  for (const auto &[right, letter] : letters) {
    if (rights & right)
      fen += letter;
  }
  if (fen.size() == before)
    fen += '-';
  return fen + " - 0 1";
}

} // namespace problem
