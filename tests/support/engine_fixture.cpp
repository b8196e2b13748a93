#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

namespace testing_support {

problem::FenPosition ParseFenOrFail(const std::string &fen) {
  problem::FenPosition position;
  std::string error;
  EXPECT_TRUE(problem::ParseFen(fen, position, error)) << fen << ": " << error;
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

RecordingHost Solve(const std::string &fen, int depth, bool stopOnFound,
                    const engine::SearchOptions &search) {
  const problem::FenPosition position = ParseFenOrFail(fen);
  RecordingHost host;
  host.stopOnFound = stopOnFound;
  const engine::TaskKind kind =
      position.whiteToMove ? engine::TaskKind::Mate : engine::TaskKind::Defend;
  engine::Solver solver;
  host.result = solver.RunTask(kind, position.board,
                               {.depth = static_cast<short>(depth),
                                .castlingRights = position.castlingRights,
                                .search = search},
                               host);
  return host;
}

RecordedPlay Play(const std::string &fen, engine::PlayOrder order) {
  const problem::FenPosition position = ParseFenOrFail(fen);
  order.castlingRights = position.castlingRights;
  RecordedPlay play;
  play.result = engine::RunPlay(position.board, order, play);
  return play;
}

std::uint64_t PerftOf(const std::string &fen, int depth) {
  const problem::FenPosition position = ParseFenOrFail(fen);
  return engine::Perft(position.board, depth, position.whiteToMove, position.castlingRights);
}

} // namespace testing_support
