// One record of a collection solved: the task its side to move and `dm` ask for, run through
// the same headless task runner as a single problem, with the keys in both notations.
#pragma once

#include "cli/options.h"
#include "engine/engine.h"
#include "problem/epd.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cli {

struct RecordAnswer {
  enum class Status { Solved, Timeout, Error };
  Status status = Status::Error;
  std::string message;           // why a record was not solved
  std::optional<int> moves;      // the depth searched, when there was one
  std::vector<std::string> keys; // coordinate notation, in the order found
  std::vector<std::string> sanKeys;
  std::vector<std::string> lines; // the solution texts, notices included
  double seconds = 0;
  std::uint64_t nodes = 0;
};

// A mate task needs White to move, --defend Black to move; --moves overrides `dm`, and a record
// without `dm` needs --moves. `stop` ends the run early (the answer is then of no use). The
// solver keeps its table from one record to the next.
RecordAnswer SolveRecord(const problem::EpdRecord &record, const Options &options,
                         engine::Solver &solver, std::atomic<bool> &stop,
                         const std::function<void(short)> &onProgress);

} // namespace cli
