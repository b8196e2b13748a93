// quintabell-solve: the solver engine on the command line.
#include "cli/options.h"
#include "cli/task_run.h"
#include "cli/terminal_report.h"
#include "engine/engine.h"
#include "problem/position_check.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <mutex>

namespace {

constexpr int kExitError = 2;
constexpr int kExitInterrupted = 130;

std::atomic<bool> interrupted{false};

extern "C" void OnInterrupt(int) { interrupted = true; }

int Fail(const std::string &message) {
  std::fprintf(stderr, "quintabell-solve: %s\n", message.c_str());
  return kExitError;
}

int CountTree(const cli::Options &options, const problem::FenPosition &position) {
  cli::PlaceBoard(position.board);
  const auto start = std::chrono::steady_clock::now();
  const std::uint64_t leaves =
      engine::Perft(*options.perftDepth, position.whiteToMove, position.castlingRights);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%llu\n", static_cast<unsigned long long>(leaves));
  if (!options.quiet) {
    std::fprintf(stderr, "perft %d: %llu leaves, %.3f s, %llu moves made, %.0f moves/s\n",
                 *options.perftDepth, static_cast<unsigned long long>(leaves), seconds,
                 static_cast<unsigned long long>(engine::NodeCount()),
                 seconds > 0 ? static_cast<double>(engine::NodeCount()) / seconds : 0.0);
  }
  return 0;
}

int Solve(const cli::Options &options, const problem::FenPosition &position) {
  cli::ProgressBar bar(stderr, !options.quiet);
  std::mutex output; // progress and solutions come from the task's thread
  cli::TaskRequest request;
  request.position = position;
  request.kind = position.whiteToMove ? engine::TaskKind::Mate : engine::TaskKind::Defend;
  request.depth = static_cast<short>(*options.moves);
  request.stopOnFirst = options.stopOnFirst;
  request.stopRequest = &interrupted;
  request.onProgress = [&](short progress) {
    std::lock_guard lock(output);
    bar.Show(progress);
  };
  request.onSolution = [&](std::string_view solution) {
    std::lock_guard lock(output);
    bar.Erase();
    std::fwrite(solution.data(), 1, solution.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  };
  std::signal(SIGINT, OnInterrupt);
  const cli::TaskOutcome outcome = cli::RunTask(request);
  std::signal(SIGINT, SIG_DFL);
  bar.Erase();
  if (!outcome.started)
    return Fail("could not start the solving thread");

  const auto solutions = std::count_if(outcome.solutions.begin(), outcome.solutions.end(),
                                       [](const std::string &s) { return s.rfind(">>", 0) != 0; });
  const std::string summary =
      cli::Summary(static_cast<std::size_t>(solutions), outcome.seconds, outcome.nodes);
  if (interrupted) {
    std::fprintf(stderr, "interrupted: %s\n", summary.c_str());
    return kExitInterrupted;
  }
  std::fprintf(stderr, "%s\n", summary.c_str());
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  cli::Options options;
  std::string error;
  if (!cli::ParseOptions(argc, argv, options, error)) {
    std::fputs(cli::kUsage, stderr);
    return Fail(error);
  }
  if (options.help) {
    std::fputs(cli::kUsage, stdout);
    return 0;
  }
  problem::FenPosition position;
  if (!problem::ParseFen(options.fen, position, error))
    return Fail("bad FEN: " + error);
  if (options.defend && position.whiteToMove) {
    return Fail("--defend needs a FEN with Black to move");
  }
  const std::string_view fault = problem::PositionFault(position.board);
  if (!fault.empty())
    return Fail(std::string(fault));
  return options.perftDepth ? CountTree(options, position) : Solve(options, position);
}
