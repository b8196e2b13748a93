// quintabell-bench: solves every problem of the benchmark sets and checks the keys.
#include "bench/problem_set.h"
#include "cli/task_run.h"
#include "cli/terminal_report.h"
#include "platform/component.h"
#include "problem/solution_text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr const char *kUsage =
    "usage: quintabell-bench [--limit SECONDS] [--plain] [--hash MB] [--threads N] [TSV...]\n";

struct Settings {
  double limit = 60;
  engine::SearchOptions search{.threads = engine::HardwareThreads()};
  std::vector<std::string> sets;
};

struct Totals {
  int problems = 0, matched = 0, mismatched = 0, timeouts = 0, errors = 0;
  double seconds = 0;
  std::uint64_t nodes = 0;
  std::string slowestId;
  double slowestSeconds = -1;

  void Add(const Totals &other) {
    problems += other.problems;
    matched += other.matched;
    mismatched += other.mismatched;
    timeouts += other.timeouts;
    errors += other.errors;
    seconds += other.seconds;
    nodes += other.nodes;
    if (other.slowestSeconds > slowestSeconds) {
      slowestSeconds = other.slowestSeconds;
      slowestId = other.slowestId;
    }
  }
};

double PerSecond(std::uint64_t nodes, double seconds) {
  return seconds > 0 ? static_cast<double>(nodes) / seconds : 0;
}

void SolveOne(const bench::BenchProblem &problem, const Settings &settings, engine::Solver &solver,
              Totals &totals) {
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
  request.timeLimit = std::chrono::duration<double>(settings.limit);
  request.search = settings.search;
  request.solver = &solver;
  const cli::TaskOutcome outcome = cli::RunTask(request);

  std::vector<std::string> keys;
  for (const std::string &line : outcome.solutions) {
    if (std::string key = problem::CoordinateMove(line, true); !key.empty())
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
  std::printf("%-6s %2d  %-7s %9.3f %14llu %12.0f %7.1f%%\n", problem.id.c_str(), problem.moves,
              verdict, outcome.seconds, static_cast<unsigned long long>(outcome.nodes),
              PerSecond(outcome.nodes, outcome.seconds), cli::TableHitPercent(outcome.table));
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

void PrintTotals(const char *label, const Totals &totals) {
  std::printf("%s: %d problems, %d match, %d differ, %d timeout, %d error; %.3f s, %llu nodes, "
              "%.0f nodes/s; slowest %s (%.3f s)\n",
              label, totals.problems, totals.matched, totals.mismatched, totals.timeouts,
              totals.errors, totals.seconds, static_cast<unsigned long long>(totals.nodes),
              PerSecond(totals.nodes, totals.seconds), totals.slowestId.c_str(),
              totals.slowestSeconds);
}

// An installed benchmark reads the copy of the sets installed with it; a built one, the sets
// beside the project.
std::filesystem::path SetsFolder() {
  const std::filesystem::path installed =
      platform::ProgramFolder() / QUINTABELL_INSTALLED_BENCH_DIR;
  std::error_code error;
  return std::filesystem::is_directory(installed, error) ? installed.lexically_normal()
                                                         : QUINTABELL_BENCH_DIR;
}

std::vector<std::string> DefaultSets() {
  std::vector<std::string> sets;
  std::error_code error;
  for (const auto &entry : std::filesystem::directory_iterator(SetsFolder(), error)) {
    if (entry.path().extension() == ".tsv")
      sets.push_back(entry.path().string());
  }
  std::sort(sets.begin(), sets.end());
  return sets;
}

bool ParseNumber(const std::string &text, double &value) {
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  return status == std::errc() && end == text.data() + text.size() && value > 0;
}

// False with the message printed when the command line cannot be used.
bool ParseSettings(int argc, char **argv, Settings &settings) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    double value = 0;
    if (arg == "--limit" && i + 1 < argc) {
      if (!ParseNumber(argv[++i], settings.limit)) {
        std::fprintf(stderr, "quintabell-bench: --limit needs a positive number of seconds\n");
        return false;
      }
    } else if (arg == "--hash" && i + 1 < argc) {
      if (!ParseNumber(argv[++i], value) || value > 65536) {
        std::fprintf(stderr, "quintabell-bench: --hash needs a size from 1 to 65536 MB\n");
        return false;
      }
      settings.search.hashMegabytes = static_cast<int>(value);
    } else if (arg == "--threads" && i + 1 < argc) {
      if (!ParseNumber(argv[++i], value) || value > 256 || value != static_cast<int>(value)) {
        std::fprintf(stderr, "quintabell-bench: --threads needs a number from 1 to 256\n");
        return false;
      }
      settings.search.threads = static_cast<int>(value);
    } else if (arg == "--plain") {
      settings.search.plain = true;
    } else if (arg.rfind("--", 0) == 0) {
      std::fprintf(stderr, "%squintabell-bench: unknown option '%s'\n", kUsage, arg.c_str());
      return false;
    } else {
      settings.sets.push_back(arg);
    }
  }
  if (settings.sets.empty())
    settings.sets = DefaultSets();
  if (settings.sets.empty()) {
    std::fprintf(stderr, "quintabell-bench: no *.tsv sets in %s; name the sets to solve\n",
                 SetsFolder().c_str());
    return false;
  }
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (argc > 1 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  Settings settings;
  if (!ParseSettings(argc, argv, settings))
    return 2;

  std::printf("search: %s, %d thread%s\n",
              settings.search.plain ? "plain"
                                    : ("accelerated, table up to " +
                                       std::to_string(settings.search.hashMegabytes) + " MB")
                                          .c_str(),
              settings.search.threads, settings.search.threads == 1 ? "" : "s");
  std::printf("%-6s %2s  %-7s %9s %14s %12s %8s\n", "id", "n", "keys", "seconds", "nodes",
              "nodes/s", "hits");
  Totals all;
  engine::Solver solver; // one table for the whole run, as one program would keep it
  for (const std::string &set : settings.sets) {
    std::vector<bench::BenchProblem> problems;
    std::string error;
    if (!bench::ReadProblemSet(set, problems, error)) {
      std::fprintf(stderr, "quintabell-bench: %s\n", error.c_str());
      return 2;
    }
    std::printf("# %s\n", set.c_str());
    Totals totals;
    for (const bench::BenchProblem &problem : problems)
      SolveOne(problem, settings, solver, totals);
    PrintTotals(std::filesystem::path(set).filename().c_str(), totals);
    all.Add(totals);
  }
  PrintTotals("total", all);
  return all.mismatched + all.errors > 0 ? 1 : 0;
}
