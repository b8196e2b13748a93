// Setting up the engine's one position from a FEN, and a task host that records every report.
#pragma once

#include "engine/engine.h"
#include "problem/fen.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Clears the engine and places the FEN's men; answers the FEN (rights filtered to men at home).
problem::FenPosition PlaceFen(const std::string &fen);

// One report of a task, as text: "progress 14", "solution Ng1-f3    ", "finished".
class RecordingHost : public engine::TaskHost {
public:
  bool stopOnFound = false;
  std::vector<std::string> events;
  engine::TaskResult result = engine::TaskResult::Ran; // what Solve's task answered

  void ProgressUpdate(short progress) override;
  void SolutionFound(std::string_view solution) override;
  void Finished() override;
  bool StopOnFound() const override { return stopOnFound; }

  std::vector<std::string> Solutions() const; // the solution texts alone, in order
  std::vector<int> Progress() const;          // the progress values alone, in order
};

// Runs a whole task on the FEN's position with the FEN's side to move picking the task.
RecordingHost Solve(const std::string &fen, int depth, bool stopOnFound = false);

// Leaf count of the legal move tree of the FEN's position, its side to move and its rights.
std::uint64_t PerftOf(const std::string &fen, int depth);

} // namespace testing_support
