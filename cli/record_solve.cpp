#include "cli/record_solve.h"

#include "cli/task_run.h"
#include "problem/position_check.h"
#include "problem/san.h"
#include "problem/solution_text.h"

#include <cstdio>

namespace cli {

namespace {

RecordAnswer Refused(std::string message, std::optional<int> moves = std::nullopt) {
  RecordAnswer answer;
  answer.message = std::move(message);
  answer.moves = moves;
  return answer;
}

std::string LimitText(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "no answer within %g s", seconds);
  return text;
}

} // namespace

RecordAnswer SolveRecord(const problem::EpdRecord &record, const Options &options,
                         engine::Solver &solver, std::atomic<bool> &stop,
                         const std::function<void(short)> &onProgress) {
  const problem::FenPosition &position = record.position;
  if (options.defend && position.whiteToMove)
    return Refused("White to move: --defend solves records with Black to move");
  if (!options.defend && !position.whiteToMove)
    return Refused("Black to move: a mate task needs White to move (--defend lists Black's "
                   "defences)");
  const std::optional<int> moves = options.moves ? options.moves : record.MateMoves();
  if (!moves)
    return Refused("no dm opcode (--moves gives records without one a depth)");
  if (const std::string_view fault = problem::PositionFault(position.board); !fault.empty())
    return Refused(std::string(fault), moves);

  TaskRequest request;
  request.position = position;
  request.kind = position.whiteToMove ? engine::TaskKind::Mate : engine::TaskKind::Defend;
  request.depth = static_cast<short>(*moves);
  request.stopOnFirst = options.stopOnFirst;
  request.timeLimit = std::chrono::duration<double>(options.limit.value_or(0));
  request.stopRequest = &stop;
  request.search = SearchOptionsOf(options);
  request.solver = &solver;
  request.onProgress = onProgress;
  const TaskOutcome outcome = RunTask(request);
  // The runner ends a run that is out of time through the same flag as Ctrl+C; the next
  // record must not find it raised.
  if (outcome.timedOut)
    stop = false;
  if (!outcome.started)
    return Refused("could not start the solving thread", moves);

  RecordAnswer answer;
  answer.moves = moves;
  answer.lines = outcome.solutions;
  answer.seconds = outcome.seconds;
  answer.nodes = outcome.nodes;
  for (const std::string &line : outcome.solutions) {
    if (line.rfind(">>", 0) == 0)
      continue;
    answer.keys.push_back(problem::CoordinateMove(line, position.whiteToMove));
    answer.sanKeys.push_back(problem::SanMove(position.board, position.whiteToMove, line));
    if (answer.keys.back().empty() || answer.sanKeys.back().empty()) {
      answer.message = "the solution '" + line + "' does not fit the position";
      return answer;
    }
  }
  if (outcome.timedOut) {
    answer.status = RecordAnswer::Status::Timeout;
    answer.message = LimitText(*options.limit);
  } else if (outcome.result == engine::TaskResult::OpponentInCheck) {
    answer.message = "the side not to move stands in check";
  } else {
    answer.status = RecordAnswer::Status::Solved;
  }
  return answer;
}

} // namespace cli
