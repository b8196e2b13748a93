// Zobrist keys of everything that decides a mate search's answer besides the moves left: the
// men on their squares, the side to move, the working castling rights and whether a capture
// in passing is possible.
#pragma once

#include "engine/position.h"

#include <array>
#include <cstdint>

namespace engine {

namespace zobrist_detail {

constexpr std::uint64_t SplitMix(std::uint64_t &seed) {
  std::uint64_t z = (seed += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

inline constexpr int kPieces = 12;
inline constexpr int kSquares = SquareIndex(7, 7) + 1;

struct Keys {
  std::uint64_t men[kPieces][kSquares];
  std::uint64_t rights[16];
  std::uint64_t enPassant[8];
  std::uint64_t blackToMove;
};

constexpr Keys MakeKeys() {
  Keys keys{};
  std::uint64_t seed = 0x51A7E5CA11ED0BADull;
  for (auto &man : keys.men) {
    for (auto &key : man)
      key = SplitMix(seed);
  }
  for (auto &key : keys.rights)
    key = SplitMix(seed);
  keys.rights[0] = 0; // no rights: the common case costs nothing
  for (auto &key : keys.enPassant)
    key = SplitMix(seed);
  keys.blackToMove = SplitMix(seed);
  return keys;
}

// Man index 0..11 by the colour and kind bits of a cell (code >> 8); a pawn is a pawn whether
// it has moved or not, since that follows from its square.
constexpr std::array<std::int8_t, 256> MakeManIndex() {
  std::array<std::int8_t, 256> index{};
  index.fill(-1);
  constexpr CellCode kinds[6] = {kPawn, kRook, kKnight, kBishop, kQueen, kKing};
  for (int colour = 0; colour < 2; ++colour) {
    const CellCode bit = colour == 0 ? kWhite : kBlack;
    for (int k = 0; k < 6; ++k) {
      index[(bit | kinds[k]) >> 8] = static_cast<std::int8_t>(6 * colour + k);
      if (kinds[k] == kPawn)
        index[(bit | kUnmovedPawn) >> 8] = static_cast<std::int8_t>(6 * colour);
    }
  }
  return index;
}

inline constexpr Keys kKeys = MakeKeys();
inline constexpr auto kManIndex = MakeManIndex();

} // namespace zobrist_detail

inline std::uint64_t ManKey(CellCode code, const CellCode *cell) {
  using namespace zobrist_detail;
  return kKeys.men[kManIndex[(code >> 8) & 0xFF]][IndexOf(cell)];
}
inline std::uint64_t RightsKey(std::uint32_t rights) {
  return zobrist_detail::kKeys.rights[rights & 15];
}
inline std::uint64_t EnPassantKey(int file) { return zobrist_detail::kKeys.enPassant[file]; }
inline std::uint64_t BlackToMoveKey() { return zobrist_detail::kKeys.blackToMove; }

} // namespace engine
