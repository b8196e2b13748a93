// The stop request: another thread ends a running task, which then reports nothing more,
// with one search thread or several.
#include "engine/man_codes.h"
#include "platform/deep_thread.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace {

// Mate in 6 (b09): far too deep to finish before the request is seen.
const char *const kDeepProblem = "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - 0 1";

// Stops the task from inside the first progress report, as a host's cancel would arrive while
// the search runs; everything after that point must stay unreported.
class StoppingHost : public testing_support::RecordingHost {
public:
  std::atomic<bool> stop{false};
  void ProgressUpdate(short progress) override {
    RecordingHost::ProgressUpdate(progress);
    stop = true;
  }
};

engine::TaskResult SolveDeep(engine::Solver &solver, engine::TaskHost &host,
                             const std::atomic<bool> &stop, int threads,
                             const char *fen = kDeepProblem, short depth = 6) {
  const problem::FenPosition position = testing_support::ParseFenOrFail(fen);
  return solver.RunTask(engine::TaskKind::Mate, position.board,
                        {.depth = depth,
                         .castlingRights = position.castlingRights,
                         .stopRequest = &stop,
                         .search = {.threads = threads}},
                        host);
}

TEST(StopRequest, EndsTheTaskWithoutFurtherReports) {
  for (const int threads : {1, 2}) {
    engine::Solver solver;
    StoppingHost host;
    EXPECT_EQ(SolveDeep(solver, host, host.stop, threads), engine::TaskResult::Stopped);
    EXPECT_EQ(host.events, std::vector<std::string>{"progress 0"}) << threads << " threads";
  }
}

TEST(StopRequest, FromAnotherThreadEndsADeepSearch) {
  for (const int threads : {1, 3}) {
    engine::Solver solver;
    testing_support::RecordingHost host;
    std::atomic<bool> stop{false};
    engine::TaskResult result = engine::TaskResult::Ran;
    std::thread worker([&] { result = SolveDeep(solver, host, stop, threads); });
    // Reports are made on the task's thread; a later one would only show how late the stop
    // came, never whether it worked.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    stop = true;
    worker.join();
    EXPECT_EQ(result, engine::TaskResult::Stopped);
    EXPECT_TRUE(host.Solutions().empty());
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "progress 100"), 0);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "finished"), 0);
  }
}

// Nothing mates a lone king, in however many moves. A miss in the table once read as a mate at
// exactly 32767 moves left, and every king move was reported at once.
TEST(StopRequest, AtTheLargestDepthNothingUnprovenIsReported) {
  for (const int threads : {1, 2}) {
    engine::Solver solver;
    testing_support::RecordingHost host;
    std::atomic<bool> stop{false};
    // A line of 32767 moves needs the deep stack a task's worker gets.
    platform::DeepThread worker;
    ASSERT_TRUE(worker.Start(
        [&] { SolveDeep(solver, host, stop, threads, "4k3/8/8/8/8/8/8/4K3 w - - 0 1", 32767); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stop = true;
    worker.Join();
    EXPECT_TRUE(host.Solutions().empty()) << host.Solutions().front();
  }
}

} // namespace
