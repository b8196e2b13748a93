// quintabell-solve: the solver engine on the command line.
#include "cli/conversions.h"
#include "cli/epd_batch.h"
#include "cli/options.h"
#include "cli/play_run.h"
#include "cli/task_run.h"
#include "cli/terminal_report.h"
#include "engine/engine.h"
#include "problem/cmt_file.h"
#include "problem/position_check.h"

#include <algorithm>
#include <chrono>
#include <climits>
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
  const auto start = std::chrono::steady_clock::now();
  std::uint64_t moves = 0;
  const std::uint64_t leaves = engine::Perft(position.board, *options.perftDepth,
                                             position.whiteToMove, position.castlingRights, &moves);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%llu\n", static_cast<unsigned long long>(leaves));
  if (!options.quiet) {
    std::fprintf(stderr, "perft %d: %llu leaves, %.3f s, %llu moves made, %.0f moves/s\n",
                 *options.perftDepth, static_cast<unsigned long long>(leaves), seconds,
                 static_cast<unsigned long long>(moves),
                 seconds > 0 ? static_cast<double>(moves) / seconds : 0.0);
  }
  return 0;
}

int Solve(const cli::Options &options, const problem::FenPosition &position, int moves) {
  cli::ProgressBar bar(stderr, !options.quiet);
  std::mutex output; // progress and solutions come from the task's thread
  cli::TaskRequest request;
  request.position = position;
  request.kind = position.whiteToMove ? engine::TaskKind::Mate : engine::TaskKind::Defend;
  request.depth = static_cast<short>(moves);
  request.stopOnFirst = options.stopOnFirst;
  request.stopRequest = &interrupted;
  request.search = cli::SearchOptionsOf(options);
  if (const auto safe = engine::SafeTableMegabytes();
      !options.plain && static_cast<std::size_t>(options.hashMegabytes) > safe) {
    std::fprintf(stderr,
                 "quintabell-solve: --hash %d MB is more than half of this machine's memory; "
                 "the table stops at %zu MB\n",
                 options.hashMegabytes, safe);
  }

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
  if (outcome.result == engine::TaskResult::DepthBelowOne)
    return Fail("nothing to solve in " + std::to_string(moves) +
                " moves: a task needs at least 1 (--moves)");

  const auto solutions = std::count_if(outcome.solutions.begin(), outcome.solutions.end(),
                                       [](const std::string &s) { return s.rfind(">>", 0) != 0; });
  const std::string summary = cli::Summary(static_cast<std::size_t>(solutions), outcome.seconds,
                                           outcome.nodes, outcome.table);

  if (interrupted) {
    std::fprintf(stderr, "interrupted: %s\n", summary.c_str());
    return kExitInterrupted;
  }
  std::fprintf(stderr, "%s\n", summary.c_str());
  return 0;
}

// A file holds no side to move: it is a mate problem, White to move, unless --defend asks for
// Black's defences. Its depth is the window's slider value, one less than the moves. Only a
// checked castling box grants its right; a grayed one counts as not given.
bool LoadProblemFile(const cli::Options &options, problem::FenPosition &position, int &moves,
                     std::string &error) {
  problem::ProblemFile file;
  if (!problem::ReadProblemFile(options.problemFile, file, error))
    return false;
  position.board = file.board;
  position.whiteToMove = !options.defend;
  position.castlingRights =
      problem::RightsAtHome(file.board, problem::CheckedRights(file.castling));
  moves = options.moves ? *options.moves : std::min(file.maxDepth + 1, SHRT_MAX);
  return true;
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
  if (!options.epdFile.empty()) {
    std::signal(SIGINT, OnInterrupt);
    return cli::SolveCollection(options, interrupted);
  }
  problem::FenPosition position;
  int moves = options.moves.value_or(0);
  if (!options.problemFile.empty()) {
    if (!LoadProblemFile(options, position, moves, error))
      return Fail(error);
  } else {
    if (!problem::ParseFen(options.fen, position, error))
      return Fail("bad FEN: " + error);
    if (options.defend && position.whiteToMove) {
      return Fail("--defend needs a FEN with Black to move");
    }
  }
  if (options.toFen) {
    std::fputs(cli::FenAndDepth(position, moves).c_str(), stdout);
    return 0;
  }
  const std::string_view fault = problem::PositionFault(position.board);
  if (!fault.empty())
    return Fail(std::string(fault));
  if (!options.writeCmtFile.empty()) {
    return cli::WriteProblem(options.writeCmtFile, position, moves, options.comment, error)
               ? 0
               : Fail(error);
  }
  if (options.play) {
    if (!position.whiteToMove)
      return Fail("--play needs a FEN with White to move");
    std::signal(SIGINT, OnInterrupt);
    return cli::ShowPlay(options, position, moves, interrupted);
  }
  return options.perftDepth ? CountTree(options, position) : Solve(options, position, moves);
}
