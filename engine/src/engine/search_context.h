// What one search thread owns: its position, its move-ordering memory and counters, and the
// requests that end its search. The table of proven results and the marks of the nodes being
// searched are shared with the task's other threads. Internal to the engine.
#pragma once

#include "engine/busy_marks.h"
#include "engine/mate_table.h"
#include "engine/position.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace engine {

// A Black reply that refuted White at some ply; tried first by its siblings' successors.
struct Killer {
  const CellCode *from = nullptr;
  const CellCode *to = nullptr;
  CellCode kind = 0;
};

class SearchContext {
public:
  Position position;
  MateTable *table = nullptr;  // null for the plain search
  BusyMarks *busy = nullptr;   // null while this thread searches alone
  std::vector<Killer> killers; // by ply
  std::vector<int> flights;    // by ply: the king's last way out of a check there
  std::uint64_t probes = 0;
  std::uint64_t hits = 0;
  std::uint64_t unreportedStores = 0;

  // The host's stop request, and the end of the root move this thread works on (another
  // thread settled it, or the task ended). Either makes every node answer at once.
  const std::atomic<bool> *stopRequest = &kNeverStop;
  const std::atomic<bool> *rootMoveEnded = &kNeverStop;

  bool StopRequested() const {
    return stopRequest->load(std::memory_order_relaxed) ||
           rootMoveEnded->load(std::memory_order_relaxed);
  }

  // Loads the placement and readies the position and the ordering memory for a task.
  void Prepare(const Placement &placement, int depth) {
    position.Load(placement);
    position.PrepareTask(depth);
    killers.assign(position.plyStack.size(), Killer{});
    flights.assign(position.plyStack.size(), 0);
    probes = hits = unreportedStores = 0;
  }

  // Stores are counted here and passed to the table in batches, so that its count is not a
  // line every thread writes at every node.
  void NoteStore() {
    if (++unreportedStores == kStoreBatch) {
      table->NoteStores(kStoreBatch);
      unreportedStores = 0;
    }
  }

  static inline const std::atomic<bool> kNeverStop{false};

private:
  static constexpr std::uint64_t kStoreBatch = 1024;
};

} // namespace engine
