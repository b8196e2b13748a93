// One solving task run the way a headless caller wants it: the position placed, the task on a
// thread of its own, every report passed on as it comes, and an optional time limit.
#pragma once

#include "cli/options.h"
#include "engine/engine.h"
#include "problem/fen.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cli {

struct TaskRequest {
  problem::FenPosition position;
  engine::TaskKind kind = engine::TaskKind::Mate;
  short depth = 1;
  bool stopOnFirst = false;
  std::chrono::duration<double> timeLimit{0}; // zero: no limit
  // Set from anywhere (a signal handler, another thread) to end the run early.
  std::atomic<bool> *stopRequest = nullptr;
  engine::SearchOptions search;
  // Keeps its table from one task to the next; null: a solver of this task's own.
  engine::Solver *solver = nullptr;
  std::function<void(short progress)> onProgress;
  std::function<void(std::string_view solution)> onSolution;
};

struct TaskOutcome {
  engine::TaskResult result = engine::TaskResult::Ran;
  bool started = false; // false when no thread could be had
  bool timedOut = false;
  std::vector<std::string> solutions; // every SolutionFound text, notices included
  double seconds = 0;
  std::uint64_t nodes = 0;
  engine::TableStatistics table; // of the accelerated search
};

TaskOutcome RunTask(const TaskRequest &request);

// The search the command line asks for.
inline engine::SearchOptions SearchOptionsOf(const Options &options) {
  return {
      .plain = options.plain, .hashMegabytes = options.hashMegabytes, .threads = options.threads};
}

} // namespace cli
