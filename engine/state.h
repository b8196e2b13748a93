// The engine's one position and the counters of the running task. Internal to the engine
// (and its tests): hosts reach it only through engine.h.
#pragma once

#include "engine/codes.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

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

// An array without a destructor. The engine's state must outlive the process's static
// destructors: a worker that was let go from inside an event may still be leaving its search
// when the process ends. What it holds then is freed with the process.
template <class T> class LastingArray {
public:
  void assign(std::size_t count, const T &value) {
    delete[] items_;
    items_ = new T[count];
    count_ = count;
    for (std::size_t i = 0; i < count; ++i)
      items_[i] = value;
  }
  T *data() { return items_; }
  const T *data() const { return items_; }
  std::size_t size() const { return count_; }
  T &operator[](std::size_t i) { return items_[i]; }
  const T &operator[](std::size_t i) const { return items_[i]; }

private:
  T *items_ = nullptr;
  std::size_t count_ = 0;
};

struct EngineState {
  CellCode cells[kBoardCells];
  CellCode *men[kMenListSize]; // MenList: each man's cell, null while captured
  int whiteMen;                // W: white men, king included; the white king is number 1
  int allMen;                  // T: all men; the black king is number T
  bool oneKingEach;
  std::uint32_t rights; // working CastlingRights
  LastingArray<PlyRecord> plyStack;
  PlyRecord *ply; // current record
  int movesLeft;
  int rootMoveCount;
  int progressStep;
  CellCode arrivingMan;
  std::uint64_t nodes;
  const std::atomic<bool> *stopRequest;
};

extern EngineState state;

// Square index -21..98 -> cell; the constant base lets the compiler fold the address.
inline CellCode *Board() { return state.cells + kBorderOffset; }
inline CellCode &Cell(int index) { return Board()[index]; }
inline int IndexOf(const CellCode *cell) { return static_cast<int>(cell - Board()); }

inline bool StopRequested() { return state.stopRequest->load(std::memory_order_relaxed); }

} // namespace engine
