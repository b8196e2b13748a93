// Start and Panic at random moments, many times over: every stop must be final and the control
// must be ready for the next task at once.
#include "control/orka_ids.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using namespace orka;
using testing_support::OrkaHost;
using testing_support::RecordingSink;
using testing_support::SolutionsOf;

const char *const kDeepMate = "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - 0 1";
const char *const kMateInTwo = "8/Q7/8/8/8/8/8/2k1K2R w K - 0 1";

// Busy-waits, so that the stop can also land in the first microseconds of a task.
void Spin(std::chrono::microseconds time) {
  const auto until = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < until) {
  }
}

TEST(OrkaStress, TwoThousandStopsAtRandomMomentsAreEachFinal) {
  constexpr int kCycles = 2000;
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> moment(0, 2000);
  OrkaHost host;
  const auto sink = RecordingSink::Make();
  host.Advise(*sink);
  std::size_t stopped = 0; // events so far, all of stopped or finished tasks
  for (int cycle = 1; cycle <= kCycles; ++cycle) {
    host.Place(kDeepMate, 6);
    ASSERT_EQ(sink->Count(), stopped) << "an event of a stopped task came late, cycle " << cycle;
    EXPECT_EQ(host.Call(kDispMate, 0), 1);
    ASSERT_EQ(host.Get(kDispLSuccess), 1) << "cycle " << cycle;
    Spin(std::chrono::microseconds(moment(random)));
    EXPECT_EQ(host.Call(kDispPanic), 1);
    ASSERT_EQ(host.Get(kDispLSuccess), 1) << "cycle " << cycle;
    stopped = sink->Count();

    if (cycle % 100 == 0) {
      host.Place(kMateInTwo, 2);
      ASSERT_EQ(sink->Count(), stopped) << "cycle " << cycle;
      host.Call(kDispMate, 0);
      ASSERT_EQ(host.Get(kDispLSuccess), 1) << "cycle " << cycle;
      ASSERT_TRUE(sink->WaitFor("finished", cycle / 100)) << "cycle " << cycle;
      ASSERT_TRUE(testing_support::WaitForNoWorker());
      const auto events = sink->Events();
      const std::vector<std::string> run(events.begin() + static_cast<long>(stopped), events.end());
      EXPECT_EQ(SolutionsOf(run), std::vector<std::string>{"Qa7-f2    "}) << "cycle " << cycle;
      EXPECT_EQ(run.back(), "finished");
      stopped = events.size();
    }
  }
  const auto events = sink->Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "finished"), kCycles / 100);
}

} // namespace
