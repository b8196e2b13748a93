// The solver engine: one chess position per process, placed square by square, and the two
// tasks that search it. The control and the command-line solver drive it through RunTask.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

namespace engine {

// What a task tells the world while it runs. Called on the thread that runs the task.
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

// Codes 0 to 4 are the task results the host sees; the last three say why a task ended
// without its closing reports.
enum class TaskResult {
  Ran = 0,
  Stalemate = 1,       // the side to move has no move and is not in check
  OpponentInCheck = 2, // the side not to move stands in check
  DepthBelowOne = 3,
  Mated = 4,    // the side to move has no move and is in check
  EndedOnFound, // StopOnFound ended it after its first solution (Finished was fired)
  Stopped,      // the stop request ended it; nothing more is reported
  NoKingPair,   // not exactly one king per side: nothing was searched
};

// How the searches beneath the root go about it; the answers are the same either way.
struct SearchOptions {
  bool plain = false;      // every move in generation order, nothing remembered: the reference
  int hashMegabytes = 256; // the table of proven results of the accelerated search
};

struct TaskOrder {
  short depth = 0; // White moves, the key included
  std::uint32_t castlingRights = 0;
  // Polled by the search at every node; setting it ends the task quickly from any thread.
  const std::atomic<bool> *stopRequest = nullptr;
  SearchOptions search;
};

// Placement. Out-of-range arguments are ignored.
void PlaceMan(int file, int rank, int manCode);
void ClearBoard();

// Numbers the men and allocates the ply stack for a task of the given depth.
void PrepareTask(int depth);

// The roots of the two tasks, on a prepared position. Report through host.
TaskResult MateTask(std::uint32_t castlingRights, TaskHost &host, const SearchOptions &search = {});
TaskResult DefenceTask(std::uint32_t castlingRights, TaskHost &host,
                       const SearchOptions &search = {});

// A whole task as a worker runs it: prepare, search, then the closing reports (a notice for
// results 1 and 2, ProgressUpdate 100, Finished) unless it ended early.
TaskResult RunTask(TaskKind kind, const TaskOrder &order, TaskHost &host);

// Leaf count of the legal move tree of the placed position, with the given side to move.
std::uint64_t Perft(int depth, bool whiteToMove, std::uint32_t castlingRights);

// Moves made by the generator since the last PrepareTask (castling counts once).
std::uint64_t NodeCount();

// Lookups in the accelerated search's table during the last task, and how many found a bound.
struct TableStatistics {
  std::uint64_t probes = 0;
  std::uint64_t hits = 0;
};
TableStatistics LastTaskTableStatistics();

} // namespace engine
