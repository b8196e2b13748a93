// A chess position as the searches work on it: the 120-cell board with its border, the men
// list, the working castling rights and the ply stack of one task. Every search thread owns
// one; moves are made and taken back on it in place. Internal to the engine (and its tests).
#pragma once

#include "engine/codes.h"
#include "engine/engine.h"

#include <array>
#include <cstdint>
#include <vector>

namespace engine {

struct PlyRecord {
  CellCode *from;
  CellCode *to;
  std::uint32_t flags;
  CellCode capturedCode;
  CellCode *capturedCell;
};

// 64 squares can hold at most 64 men; entry 0 is never given.
inline constexpr int kMenListSize = 65;

// Every board starts on this alignment, so a cell's index follows from its address alone:
// the attack and line tables need no board at hand, as with one board at a fixed address.
inline constexpr std::uintptr_t kBoardAlignment = 512;
static_assert(kBoardCells * sizeof(CellCode) <= kBoardAlignment);

inline int IndexOf(const CellCode *cell) {
  return static_cast<int>((reinterpret_cast<std::uintptr_t>(cell) & (kBoardAlignment - 1)) /
                          sizeof(CellCode)) -
         kBorderOffset;
}

class Position {
public:
  Position() { ClearBoard(); }
  // The men list and the ply records point into the board: a copy would point into the
  // original. A thread that needs the position loads the placement itself.
  Position(const Position &) = delete;
  Position &operator=(const Position &) = delete;

  // Placement. Out-of-range arguments are ignored.
  void PlaceMan(int file, int rank, int manCode);
  void ClearBoard();
  // ClearBoard, then every man of the placement.
  void Load(const Placement &placement);

  // Numbers the men and allocates the ply stack for a task of the given depth.
  void PrepareTask(int depth);

  // Square index -21..98 -> cell. The board array starts 21 cells before a1.
  CellCode *Board() { return cells_ + kBorderOffset; }
  const CellCode *Board() const { return cells_ + kBorderOffset; }
  CellCode &Cell(int index) { return Board()[index]; }
  const CellCode *Cells() const { return cells_; }
  // How deep the current record lies in the ply stack; record 0 is the move before the task.
  int PlyIndex() const { return static_cast<int>(ply - plyStack.data()); }

  CellCode *men[kMenListSize] = {}; // MenList: each man's cell, null while captured
  int whiteMen = 0;                 // W: white men, king included; the white king is number 1
  int allMen = 0;                   // T: all men; the black king is number T
  bool oneKingEach = false;
  std::uint32_t rights = 0; // working CastlingRights
  std::vector<PlyRecord> plyStack;
  PlyRecord *ply = nullptr; // current record
  int movesLeft = 0;
  std::uint64_t nodes = 0; // moves made by the generator since PrepareTask

private:
  alignas(kBoardAlignment) CellCode cells_[kBoardCells];
};

} // namespace engine
