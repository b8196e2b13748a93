// Setting up engine positions from FENs, and hosts of a task and of the play that record
// every report.
#pragma once

#include "engine/engine.h"
#include "engine/play.h"
#include "problem/fen.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// The FEN's position (rights filtered to men at home); a malformed FEN fails the test.
problem::FenPosition ParseFenOrFail(const std::string &fen);

// One report of a task, as text: "progress 14", "solution Ng1-f3    ", "finished".
class RecordingHost : public engine::TaskHost {
public:
  bool stopOnFound = false;
  std::vector<std::string> events;
  engine::TaskResult result = engine::TaskResult::Ran; // set by Solve

  void ProgressUpdate(short progress) override;
  void SolutionFound(std::string_view solution) override;
  void Finished() override;
  bool StopOnFound() const override { return stopOnFound; }

  std::vector<std::string> Solutions() const; // the solution texts alone, in order
};

// Runs a whole task on the FEN's position with the FEN's side to move picking the task.
RecordingHost Solve(const std::string &fen, int depth, bool stopOnFound = false,
                    const engine::SearchOptions &search = {});

// Everything a run of the play reports.
struct RecordedPlay : engine::PlayHost {
  engine::PlayResult result = engine::PlayResult::Ran;
  std::vector<short> progress;
  std::optional<std::vector<engine::PlayNode>> setPlay;
  std::vector<engine::FirstMovePlay> firstMoves;

  void PlayProgress(short percent) override { progress.push_back(percent); }
  void SetPlayFound(const std::vector<engine::PlayNode> &blackMoves) override {
    setPlay = blackMoves;
  }
  void FirstMoveFound(const engine::FirstMovePlay &play) override { firstMoves.push_back(play); }
};

// The play of the FEN's position (White to move); the order's rights come from the FEN.
RecordedPlay Play(const std::string &fen, engine::PlayOrder order);

// Leaf count of the legal move tree of the FEN's position, its side to move and its rights.
std::uint64_t PerftOf(const std::string &fen, int depth);

} // namespace testing_support
