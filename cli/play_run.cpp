#include "cli/play_run.h"

#include "cli/terminal_report.h"
#include "engine/play_writer.h"
#include "platform/deep_thread.h"

#include <chrono>
#include <cstdio>
#include <mutex>

namespace cli {

namespace {

// Prints each document as it comes, within the line budget, and counts what it printed.
class PlayPrinter final : public engine::PlayHost {
public:
  PlayPrinter(const Options &options, int moves) : options_(options), moves_(moves) {}

  void PlayProgress(short percent) override {
    std::lock_guard lock(mutex_);
    bar_.Show(percent);
  }
  void SetPlayFound(const std::vector<engine::PlayNode> &blackMoves) override {
    Print(options_.json ? std::vector{engine::SetPlayJson(blackMoves, moves_)}
                        : engine::SetPlayText(blackMoves));
  }
  void FirstMoveFound(const engine::FirstMovePlay &play) override {
    ++(play.key ? keys : tries);
    Print(options_.json ? std::vector{engine::PlayJson(play, moves_)} : engine::PlayText(play));
  }

  // Says how many lines the budget left out.
  void Close() {
    std::lock_guard lock(mutex_);
    bar_.Erase();
    if (leftOut_ > 0) {
      std::printf("... %zu more lines left out (--max-lines %d)\n", leftOut_, options_.maxLines);
    }
    std::fflush(stdout);
  }

  int keys = 0;
  int tries = 0;

private:
  void Print(const std::vector<std::string> &lines) {
    std::lock_guard lock(mutex_);
    bar_.Erase();
    for (const std::string &line : lines) {
      // A JSON document is one line, held to its budget of moves by the search.
      if (!options_.json && printed_ == static_cast<std::size_t>(options_.maxLines)) {
        ++leftOut_;
        continue;
      }
      std::puts(line.c_str());
      ++printed_;
    }
    std::fflush(stdout);
  }

  const Options &options_;
  const int moves_;
  std::mutex mutex_;
  ProgressBar bar_{stderr, !options_.quiet};
  std::size_t printed_ = 0;
  std::size_t leftOut_ = 0;
};

} // namespace

int ShowPlay(const Options &options, const problem::FenPosition &position, int moves,
             const std::atomic<bool> &interrupted) {
  PlayPrinter printer(options, moves);
  const engine::PlayOrder order{
      .depth = static_cast<short>(moves),
      .castlingRights = position.castlingRights,
      .stopRequest = &interrupted,
      .search = {.plain = options.plain, .hashMegabytes = options.hashMegabytes},
      .tries = options.tries,
      .setPlay = options.setPlay,
      .everyAnswer = options.json,
      // A JSON document holds its whole tree; the text, which leaves moves out, is cut by its
      // lines, and the tree behind it is held to a few times as many moves.
      .maxMoves = static_cast<std::size_t>(options.maxLines) * (options.json ? 1 : 4)};
  const auto start = std::chrono::steady_clock::now();
  engine::PlayResult result = engine::PlayResult::Ran;
  platform::DeepThread worker;
  if (!worker.Start([&] { result = engine::RunPlay(position.board, order, printer); })) {
    std::fputs("quintabell-solve: could not start the solving thread\n", stderr);
    return 2;
  }
  worker.Join();
  printer.Close();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (result == engine::PlayResult::OpponentInCheck)
    std::puts(">> CHECKMT");
  const char *summary = result == engine::PlayResult::Stopped ? "interrupted: " : "";
  std::fprintf(stderr, "%s%d key%s, %d tr%s, %.3f s\n", summary, printer.keys,
               printer.keys == 1 ? "" : "s", printer.tries, printer.tries == 1 ? "y" : "ies",
               seconds);
  return result == engine::PlayResult::Stopped ? 130 : 0;
}

} // namespace cli
