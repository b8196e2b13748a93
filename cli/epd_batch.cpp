#include "cli/epd_batch.h"

#include "cli/record_output.h"
#include "cli/record_solve.h"
#include "cli/terminal_report.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <vector>

namespace cli {

namespace {

constexpr int kExitUnreadable = 2;
constexpr int kExitInterrupted = 130;

struct NumberedLine {
  int number;
  std::string text;
};

bool IsBlankLine(const std::string &line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

// The records of the shard, with their line numbers. False when the input cannot be read.
bool ReadShard(std::istream &in, const Options &options, std::vector<NumberedLine> &records) {
  int number = 0;
  int record = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (IsBlankLine(line))
      continue;
    if (record++ % options.shardCount == options.shardIndex - 1)
      records.push_back({number, std::move(line)});
  }
  return !in.bad();
}

struct Tally {
  int solved = 0, timeouts = 0, errors = 0, damaged = 0;
  bool AllSolved() const { return timeouts + errors + damaged == 0; }
};

// A bar for the whole shard, redrawn at most ten times a second: a collection of quick records
// would otherwise keep the terminal busier than the solver.
class BatchProgress {
public:
  BatchProgress(std::size_t total, bool wanted) : bar_(stderr, wanted), total_(total) {}

  void Show(std::size_t done, const std::string &current, int percent) {
    const auto now = Clock::now();
    if (now - lastDrawn_ < std::chrono::milliseconds(100))
      return;
    lastDrawn_ = now;
    char note[160];
    std::snprintf(note, sizeof note, "%zu/%zu records, %.1f s, %.16s %d%%", done, total_, Seconds(),
                  current.c_str(), percent);
    bar_.Show(total_ > 0 ? static_cast<int>(100 * done / total_) : 100, note);
  }
  void Erase() { bar_.Erase(); }
  double Seconds() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

private:
  using Clock = std::chrono::steady_clock;
  ProgressBar bar_;
  std::size_t total_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point lastDrawn_ = start_ - std::chrono::seconds(1);
};

} // namespace

int SolveCollection(const Options &options, std::atomic<bool> &interrupted) {
  const bool fromStdin = options.epdFile == "-";
  const std::string name = fromStdin ? "<stdin>" : options.epdFile;
  std::vector<NumberedLine> records;
  std::ifstream file;
  if (!fromStdin)
    file.open(options.epdFile);
  if ((!fromStdin && !file.is_open()) ||
      !ReadShard(fromStdin ? std::cin : file, options, records)) {
    std::fprintf(stderr, "quintabell-solve: cannot read %s\n", name.c_str());
    return kExitUnreadable;
  }

  BatchProgress progress(records.size(), !options.quiet);
  Tally tally;
  engine::Solver solver;
  for (std::size_t done = 0; done < records.size(); ++done) {
    const NumberedLine &line = records[done];
    problem::EpdRecord record;
    std::string error;
    if (!problem::ParseEpdRecord(line.text, record, error)) {
      progress.Erase();
      std::fprintf(stderr, "quintabell-solve: %s:%d: %s\n", name.c_str(), line.number,
                   error.c_str());
      ++tally.damaged;
      continue;
    }
    const std::string current =
        record.Id().empty() ? "line " + std::to_string(line.number) : record.Id();
    progress.Show(done, current, 0);
    const RecordAnswer answer =
        SolveRecord(record, options, solver, interrupted,
                    [&](short percent) { progress.Show(done, current, percent); });
    progress.Erase();
    if (interrupted) {
      std::fprintf(stderr, "interrupted at %s:%d\n", name.c_str(), line.number);
      return kExitInterrupted;
    }
    const std::string output =
        options.json ? AnswerAsJson(record, answer) : AnswerAsEpd(record, answer);
    std::fwrite(output.data(), 1, output.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    switch (answer.status) {
    case RecordAnswer::Status::Solved:
      ++tally.solved;
      break;
    case RecordAnswer::Status::Timeout:
      ++tally.timeouts;
      break;
    case RecordAnswer::Status::Error:
      ++tally.errors;
      std::fprintf(stderr, "quintabell-solve: %s:%d: %s\n", name.c_str(), line.number,
                   answer.message.c_str());
      break;
    }
  }
  std::fprintf(stderr, "%zu records: %d solved, %d timeout, %d error, %d damaged; %.3f s\n",
               records.size(), tally.solved, tally.timeouts, tally.errors, tally.damaged,
               progress.Seconds());
  return tally.AllSolved() ? 0 : kExitSomeRecordFailed;
}

} // namespace cli
