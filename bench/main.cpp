// quintabell-bench: solves every problem of the benchmark sets and checks the keys.
#include "bench/problem_set.h"
#include "cli/task_run.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr const char *kUsage = "usage: quintabell-bench [--limit SECONDS] [TSV...]\n";

struct Totals {
  int problems = 0, matched = 0, mismatched = 0, timeouts = 0, errors = 0;
  double seconds = 0;
  std::uint64_t nodes = 0;
  std::string slowestId;
  double slowestSeconds = -1;
};

double PerSecond(std::uint64_t nodes, double seconds) {
  return seconds > 0 ? static_cast<double>(nodes) / seconds : 0;
}

void SolveOne(const bench::BenchProblem &problem, double limit, Totals &totals) {
  ++totals.problems;
  problem::FenPosition position;
  std::string error;
  if (!problem::ParseFen(problem.fen, position, error) || !position.whiteToMove) {
    std::printf("%-6s %2d  error: %s\n", problem.id.c_str(), problem.moves,
                error.empty() ? "not a directmate (Black to move)" : error.c_str());
    ++totals.errors;
    return;
  }
  cli::TaskRequest request;
  request.position = position;
  request.depth = static_cast<short>(problem.moves);
  request.timeLimit = std::chrono::duration<double>(limit);
  const cli::TaskOutcome outcome = cli::RunTask(request);

  std::vector<std::string> keys;
  for (const std::string &line : outcome.solutions) {
    if (std::string key = bench::CoordinateMove(line, true); !key.empty())
      keys.push_back(key);
  }
  std::sort(keys.begin(), keys.end());
  const char *verdict = "yes";
  if (outcome.timedOut) {
    verdict = "timeout";
    ++totals.timeouts;
  } else if (keys != problem.keys) {
    verdict = "no";
    ++totals.mismatched;
  } else {
    ++totals.matched;
  }
  std::printf("%-6s %2d  %-7s %9.3f %14llu %12.0f\n", problem.id.c_str(), problem.moves, verdict,
              outcome.seconds, static_cast<unsigned long long>(outcome.nodes),
              PerSecond(outcome.nodes, outcome.seconds));
  if (keys != problem.keys && !outcome.timedOut) {
    std::string found;
    for (const std::string &key : keys)
      found += " " + key;
    std::printf("       found:%s\n", found.empty() ? " -" : found.c_str());
  }
  std::fflush(stdout);
  totals.seconds += outcome.seconds;
  totals.nodes += outcome.nodes;
  if (outcome.seconds > totals.slowestSeconds) {
    totals.slowestSeconds = outcome.seconds;
    totals.slowestId = problem.id;
  }
}

std::vector<std::string> DefaultSets() {
  std::vector<std::string> sets;
  std::error_code error;
  for (const auto &entry : std::filesystem::directory_iterator(QUINTABELL_BENCH_DIR, error)) {
    if (entry.path().extension() == ".tsv")
      sets.push_back(entry.path().string());
  }
  std::sort(sets.begin(), sets.end());
  return sets;
}

} // namespace

int main(int argc, char **argv) {
  double limit = 60;
  std::vector<std::string> sets;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--limit" && i + 1 < argc) {
      const std::string value = argv[++i];
      const auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), limit);
      if (status != std::errc() || end != value.data() + value.size() || limit <= 0) {
        std::fprintf(stderr, "quintabell-bench: --limit needs a positive number of seconds\n");
        return 2;
      }
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg.rfind("--", 0) == 0) {
      std::fprintf(stderr, "%squintabell-bench: unknown option '%s'\n", kUsage, arg.c_str());
      return 2;
    } else {
      sets.push_back(arg);
    }
  }
  if (sets.empty())
    sets = DefaultSets();
  if (sets.empty()) {
    std::fprintf(stderr, "quintabell-bench: no *.tsv sets in %s; name the sets to solve\n",
                 QUINTABELL_BENCH_DIR);
    return 2;
  }

  Totals totals;
  std::printf("%-6s %2s  %-7s %9s %14s %12s\n", "id", "n", "keys", "seconds", "nodes", "nodes/s");
  for (const std::string &set : sets) {
    std::vector<bench::BenchProblem> problems;
    std::string error;
    if (!bench::ReadProblemSet(set, problems, error)) {
      std::fprintf(stderr, "quintabell-bench: %s\n", error.c_str());
      return 2;
    }
    std::printf("# %s\n", set.c_str());
    for (const bench::BenchProblem &problem : problems)
      SolveOne(problem, limit, totals);
  }
  std::printf("total: %d problems, %d match, %d differ, %d timeout, %d error; %.3f s, %llu nodes, "
              "%.0f nodes/s; slowest %s (%.3f s)\n",
              totals.problems, totals.matched, totals.mismatched, totals.timeouts, totals.errors,
              totals.seconds, static_cast<unsigned long long>(totals.nodes),
              PerSecond(totals.nodes, totals.seconds), totals.slowestId.c_str(),
              totals.slowestSeconds);
  return totals.mismatched + totals.errors > 0 ? 1 : 0;
}
