#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

namespace testing_support {

problem::FenPosition PlaceFen(const std::string &fen) {
  problem::FenPosition position;
  std::string error;
  EXPECT_TRUE(problem::ParseFen(fen, position, error)) << fen << ": " << error;
  engine::ClearBoard();
  for (int n = 0; n < 64; ++n) {
    if (position.board[n] != 0)
      engine::PlaceMan(n / 8, n % 8, position.board[n]);
  }
  return position;
}

void RecordingHost::ProgressUpdate(short progress) {
  events.push_back("progress " + std::to_string(progress));
}

void RecordingHost::SolutionFound(std::string_view solution) {
  events.push_back("solution " + std::string(solution));
}

void RecordingHost::Finished() { events.push_back("finished"); }

std::vector<std::string> RecordingHost::Solutions() const {
  std::vector<std::string> solutions;
  for (const std::string &e : events) {
    if (e.rfind("solution ", 0) == 0)
      solutions.push_back(e.substr(9));
  }
  return solutions;
}

std::vector<int> RecordingHost::Progress() const {
  std::vector<int> values;
  for (const std::string &e : events) {
    if (e.rfind("progress ", 0) == 0)
      values.push_back(std::stoi(e.substr(9)));
  }
  return values;
}

RecordingHost Solve(const std::string &fen, int depth, bool stopOnFound) {
  const problem::FenPosition position = PlaceFen(fen);
  RecordingHost host;
  host.stopOnFound = stopOnFound;
  const engine::TaskKind kind =
      position.whiteToMove ? engine::TaskKind::Mate : engine::TaskKind::Defend;
  host.result = engine::RunTask(
      kind, {.depth = static_cast<short>(depth), .castlingRights = position.castlingRights}, host);
  return host;
}

std::uint64_t PerftOf(const std::string &fen, int depth) {
  const problem::FenPosition position = PlaceFen(fen);
  return engine::Perft(depth, position.whiteToMove, position.castlingRights);
}

} // namespace testing_support
