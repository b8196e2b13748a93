// Start and Panic at random moments, many times over: every stop must be final and the control
// must be ready for the next task at once.
#include "control/orka_ids.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using namespace orka;
using namespace testing_support;

TEST(OrkaStress, TwoThousandStopsAtRandomMomentsAreEachFinal) {
  constexpr int kCycles = 2000;
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> moment(0, 2000);
  OrkaHost host;
  const auto sink = RecordingSink::Make();
  host.Advise(*sink);
  std::size_t stopped = 0; // events so far, all of stopped or finished tasks
  for (int cycle = 1; cycle <= kCycles; ++cycle) {
    host.Place(kDeepMate, kDeepMoves);
    ASSERT_EQ(sink->Count(), stopped) << "an event of a stopped task came late, cycle " << cycle;
    ASSERT_EQ(host.Start(), 1) << "cycle " << cycle;
    // A busy wait, so that the stop can also land in the first microseconds of a task.
    const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(moment(random));
    while (std::chrono::steady_clock::now() < until) {
    }
    EXPECT_EQ(host.Call(kDispPanic), 1);
    ASSERT_EQ(host.Get(kDispLSuccess), 1) << "cycle " << cycle;
    stopped = sink->Count();

    if (cycle % 100 == 0) {
      host.Place(kMateInTwo, 2);
      ASSERT_EQ(sink->Count(), stopped) << "cycle " << cycle;
      EXPECT_EQ(SolutionsOf(host.Run()), Events{"Qa7-f2    "}) << "cycle " << cycle;
      stopped = sink->Count();
    }
  }
  const auto events = sink->Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "finished"), kCycles / 100);
}

} // namespace
