// The stop request: another thread ends a running task, which then reports nothing more.
#include "engine/codes.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace {

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

TEST(StopRequest, EndsTheTaskWithoutFurtherReports) {
  // Mate in 6 (b09): far too deep to finish before the request is seen.
  testing_support::PlaceFen("4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - 0 1");
  StoppingHost host;
  const engine::TaskResult result = engine::RunTask(
      engine::TaskKind::Mate,
      {.depth = 6, .castlingRights = engine::kWhiteLong, .stopRequest = &host.stop}, host);
  EXPECT_EQ(result, engine::TaskResult::Stopped);
  EXPECT_EQ(host.events, std::vector<std::string>{"progress 0"});
}

TEST(StopRequest, FromAnotherThreadEndsADeepSearch) {
  testing_support::PlaceFen("4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - 0 1");
  testing_support::RecordingHost host;
  std::atomic<bool> stop{false};
  engine::TaskResult result = engine::TaskResult::Ran;
  std::thread worker([&] {
    result = engine::RunTask(
        engine::TaskKind::Mate,
        {.depth = 6, .castlingRights = engine::kWhiteLong, .stopRequest = &stop}, host);
  });
  while (engine::NodeCount() < 100000)
    std::this_thread::yield();
  stop = true;
  worker.join();
  EXPECT_EQ(result, engine::TaskResult::Stopped);
  EXPECT_TRUE(host.Solutions().empty());
  const std::vector<int> progress = host.Progress();
  EXPECT_EQ(std::count(progress.begin(), progress.end(), 100), 0);
  EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "finished"), 0);
}

} // namespace
