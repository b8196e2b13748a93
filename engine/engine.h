// The solver engine. A host loads a position (the ManCode of each of the 64 squares) and runs
// the Mate or Defend task on it through a Solver, which keeps the table of proven results
// from one task to the next. Solvers share nothing: several may run at once in one process.
// The names the engine inherits (key, defence, ManCode, depth and moves, ...) are explained in
// GLOSSARY.md beside this header.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>

namespace engine {

// The ManCode on each square, numbered 8 * file + rank (a1 = 0, a8 = 7, h8 = 63).
using Placement = std::array<int, 64>;

// What a task tells the world while it runs. Called on the thread that runs the task, never
// from two threads at once, whatever the number of search threads.
class TaskHost {
public:
  virtual void ProgressUpdate(short progress) = 0;
  virtual void SolutionFound(std::string_view solution) = 0; // always 10 characters
  virtual void Finished() = 0;
  // Read after each solution: a non-zero StopOnFound ends the task there.
  virtual bool StopOnFound() const = 0;

protected:
  ~TaskHost() = default;
};

enum class TaskKind { Mate, Defend };

// Codes 0 to 4 are the task results the host sees. EndedOnFound and Stopped say why a task
// ended without its closing reports; every other result, NoKingPair included, ends with them,
// so that a host waiting for Finished is never left waiting.
enum class TaskResult {
  Ran = 0,
  Stalemate = 1,       // the side to move has no move and is not in check
  OpponentInCheck = 2, // the side not to move stands in check
  DepthBelowOne = 3,
  Mated = 4,    // the side to move has no move and is in check
  EndedOnFound, // StopOnFound ended it after its first solution (Finished was fired)
  Stopped,      // the stop request ended it; nothing more is reported
  NoKingPair,   // not exactly one king per side: nothing was searched, nothing is found
};

// How the searches beneath the root go about it; the answers and the reports are the same
// either way.
struct SearchOptions {
  bool plain = false;      // every move in generation order, nothing remembered: the reference
  int hashMegabytes = 256; // the most the table of proven results may grow to
  int threads = 1;         // search threads; 0 or less: every hardware thread
};

struct TaskOrder {
  short depth = 0; // White moves, the key included
  std::uint32_t castlingRights = 0;
  // Polled by the search at every node; setting it ends the task quickly from any thread.
  const std::atomic<bool> *stopRequest = nullptr;
  SearchOptions search;
};

// Lookups in the accelerated search's table during a task, and how many found a bound.
struct TableStatistics {
  std::uint64_t probes = 0;
  std::uint64_t hits = 0;
};

int HardwareThreads();

// The most the table of proven results may take on this machine: half of its memory.
std::size_t SafeTableMegabytes();

class MateTable;

class Solver {
public:
  Solver();
  ~Solver();
  Solver(const Solver &) = delete;
  Solver &operator=(const Solver &) = delete;

  // The whole task as a worker runs it: the position loaded, the root searched, then the
  // closing reports (a notice for results 1 and 2, ProgressUpdate 100, Finished) unless it
  // ended early. One task at a time: a second caller waits for the first.
  TaskResult RunTask(TaskKind kind, const Placement &placement, const TaskOrder &order,
                     TaskHost &host);

  // Of the last task: moves made by the generators of all its threads (castling counts once),
  // the table's lookups, and the most the table could grow to.
  std::uint64_t NodeCount() const { return nodes_; }
  TableStatistics LastTaskTableStatistics() const { return table_; }
  std::size_t TableLimitMegabytes() const;

private:
  std::mutex running_;
  const std::unique_ptr<MateTable> results_;
  std::uint64_t nodes_ = 0;
  TableStatistics table_;
};

// Leaf count of the legal move tree of the placement, with the given side to move; the moves
// made on the way go to `movesMade` when given.
std::uint64_t Perft(const Placement &placement, int depth, bool whiteToMove,
                    std::uint32_t castlingRights, std::uint64_t *movesMade = nullptr);

} // namespace engine
