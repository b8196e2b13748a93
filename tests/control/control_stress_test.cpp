// Start and Panic at random moments, many times over: every stop must be final and the control
// must be ready for the next task at once.
#include "control/orka_ids.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

namespace {

using namespace orka;
using namespace testing_support;

// One control's share: stops at random moments, and now and then a task run to its end.
void StopAtRandomMoments(int cycles, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> moment(0, 2000);
  OrkaHost host;
  const auto sink = RecordingSink::Make();
  host.Advise(*sink);
  std::size_t stopped = 0; // events so far, all of stopped or finished tasks
  int finished = 0;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
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
      ASSERT_EQ(host.Start(), 1);
      ASSERT_TRUE(sink->WaitFor("finished", ++finished)) << "cycle " << cycle;
      // The worker clears the task a moment after Finished; until then the control refuses
      // placement. A Panic waits for it.
      host.Call(kDispPanic);
      const Events events = sink->Events();
      EXPECT_EQ(SolutionsOf({events.begin() + static_cast<long>(stopped), events.end()}),
                Events{"Qa7-f2    "})
          << "cycle " << cycle;
      stopped = events.size();
    }
  }
}

// Two controls at once, a thousand stops each: every stop final, whatever the other does.
TEST(OrkaStress, TwoThousandStopsAtRandomMomentsOnTwoControlsAreEachFinal) {
  std::thread other(StopAtRandomMoments, 1000, 20240611u);
  StopAtRandomMoments(1000, 20261207u);
  other.join();
}

// A handler of one control's event starts a task on another control and stops it again, then
// the other solves to the end while the first searches on: neither task waits for the other,
// nor does the first one's handler.
TEST(OrkaControls, SolveAtOnceAndStopEachOnItsOwn) {
  OrkaHost first;
  OrkaHost second;
  const auto sink = RecordingSink::Make();
  Gate handled;
  short secondStopped = 0;
  sink->onEvent = [&](const std::string &event) {
    if (event != "progress 0")
      return;
    second.Start(kDeepMate, kDeepMoves);
    second.Call(kDispPanic);
    secondStopped = second.Get(kDispLSuccess);
    handled.Open();
  };
  first.Advise(*sink);
  ASSERT_EQ(first.Start(kDeepMate, kDeepMoves), 1);
  ASSERT_TRUE(handled.Wait());
  EXPECT_EQ(secondStopped, 1);

  const auto secondSink = RecordingSink::Make();
  second.Advise(*secondSink);
  ASSERT_EQ(second.Start(kMateInTwo, 2), 1);
  ASSERT_TRUE(secondSink->WaitFor("finished")) << "the second control waited for the first";
  EXPECT_EQ(SolutionsOf(secondSink->Events()), Events{"Qa7-f2    "});
  const Events firstEvents = sink->Events();
  EXPECT_EQ(std::count(firstEvents.begin(), firstEvents.end(), "finished"), 0)
      << "the first task is still searching";
  EXPECT_EQ(first.Call(kDispPanic), 1);
  EXPECT_EQ(first.Get(kDispLSuccess), 1);
}

} // namespace
