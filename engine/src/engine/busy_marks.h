// Which positions some thread of the task is proving right now. A thread that meets a move
// leading to one of them tries its other moves first: by the time it comes back, the answer is
// often in the table, and meanwhile the threads have spread over different subtrees. Only a
// hint: a lost or stale mark changes the order of moves, never an answer.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace engine {

class BusyMarks {
public:
  bool Has(std::uint64_t key) const {
    return Slot(key).load(std::memory_order_relaxed) == Mark(key);
  }
  // False when the slot is taken (by this position from another thread, or by another one).
  bool Enter(std::uint64_t key) {
    std::uint64_t free = 0;
    return Slot(key).compare_exchange_strong(free, Mark(key), std::memory_order_relaxed);
  }
  void Leave(std::uint64_t key) { Slot(key).store(0, std::memory_order_relaxed); }

private:
  static constexpr std::size_t kSlots = std::size_t{1} << 12;
  // Never 0, which marks a free slot.
  static std::uint64_t Mark(std::uint64_t key) { return key | 1; }
  std::atomic<std::uint64_t> &Slot(std::uint64_t key) { return slots_[key >> 52 & (kSlots - 1)]; }
  const std::atomic<std::uint64_t> &Slot(std::uint64_t key) const {
    return slots_[key >> 52 & (kSlots - 1)];
  }
  std::array<std::atomic<std::uint64_t>, kSlots> slots_{};
};

} // namespace engine
