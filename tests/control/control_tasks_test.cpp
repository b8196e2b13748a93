// Starting, refusing and stopping tasks, from the host's thread and from inside the handlers
// that run on the worker, at random moments and on two controls at once, and taking the control
// down while a task runs.
#include "control/orka_ids.h"
#include "platform/component.h"
#include "tests/support/orka_host.h"
#include "tests/support/process_status.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

namespace {

using namespace orka;
using namespace testing_support;

// Once the worker is gone no event of its task can come; the stopped task never finished.
void ExpectNothingAfter(RecordingSink &sink, std::size_t count) {
  EXPECT_TRUE(WaitForNoWorker());
  const Events events = sink.Events();
  EXPECT_EQ(events.size(), count);
  EXPECT_EQ(std::count(events.begin(), events.end(), "finished"), 0);
}

// The control has let go of the sink: the test holds the only reference left.
void ExpectReleased(RecordingSink &sink) {
  EXPECT_EQ(sink.AddRef(), 2u);
  sink.Release();
}

// The worker waits in its first event until the host has tried to start other tasks and to
// place other men; in Finished the task still counts as running, so the handler's own Mate is
// refused too. The placement waits for the next task, but the men written meanwhile are lost.
TEST(OrkaTasks, MateAndPlacementWhileRunningAreRefusedAndTheTaskGoesOnUnchanged) {
  OrkaHost host;
  Gate entered, refused;
  std::atomic<bool> held = false;
  std::atomic<short> fromFinished = -7;
  const auto sink = RecordingSink::Make();
  sink->onEvent = [&](const std::string &event) {
    if (event == "finished") {
      host.Call(kDispMate, 0);
      fromFinished = host.Get(kDispLSuccess);
    } else if (!held.exchange(true)) {
      entered.Open();
      EXPECT_TRUE(refused.Wait());
    }
  };
  host.Advise(*sink);
  ASSERT_EQ(host.Start(kTwoRooks, 1), 1);
  ASSERT_TRUE(entered.Wait());
  for (const DispId start : {kDispMate, kDispDefend}) {
    EXPECT_EQ(host.Call(start, -1), 1);
    EXPECT_EQ(host.Get(kDispLSuccess), 0);
  }
  host.Place("k7/8/1K6/8/8/8/8/R7 w - - 0 1", 1, false); // every square
  refused.Open();
  ASSERT_TRUE(sink->WaitFor("finished"));
  ASSERT_TRUE(WaitForNoWorker());
  EXPECT_EQ(fromFinished, 0);
  // Every event of the task as undisturbed (StopOnFound stayed 0), and none of a second one.
  const Events events = sink->Events();
  sink->onEvent = nullptr;
  EXPECT_EQ(SolutionsOf(events), (Events{"Rg2-g8   #", "Rh1-h8   #"}));
  EXPECT_EQ(host.Run(), events);
}

TEST(OrkaTasks, PanicFromItsOwnHandlerStopsAndReleasesTheWorker) {
  // Each worker reserves a deep stack; a worker that is never joined or detached keeps it.
  constexpr int kRuns = 8;
  constexpr long long kAllowedGrowth = 512ll << 10; // kB of address space
  OrkaHost host;
  std::atomic<short> outcome = -7;
  const auto sink = RecordingSink::Make();
  sink->onEvent = [&](const std::string &event) {
    if (event == "progress 0") {
      host.Call(kDispPanic);
      outcome = host.Get(kDispLSuccess);
    }
  };
  host.Advise(*sink);
  long long before = 0;
  for (int run = 0; run <= kRuns; ++run) {
    if (run == 1)
      before = StatusKilobytes("VmSize"); // after the first run, whatever it caches
    outcome = -7;
    ASSERT_EQ(host.Start(kDeepMate, kDeepMoves), 1);
    ASSERT_TRUE(sink->WaitFor("progress 0", run + 1));
    ExpectNothingAfter(*sink, run + 1u);
    EXPECT_EQ(outcome, 1) << "run " << run;
  }
  EXPECT_LT(StatusKilobytes("VmSize") - before, kAllowedGrowth);
}

TEST(OrkaTasks, ReleasingTheControlDuringATaskSilencesIt) {
  OrkaHost host;
  const auto sink = RecordingSink::Make();
  host.Advise(*sink);
  ASSERT_EQ(host.Start(kDeepMate, kDeepMoves), 1);
  ASSERT_TRUE(sink->WaitFor("progress 0"));
  host.Destroy();
  ExpectNothingAfter(*sink, sink->Count());
  ExpectReleased(*sink);
}

// The handler holds the last reference and drops it on the worker, inside the event. The
// worker then runs its last instructions of library code: the library must stay loaded until
// the thread has ended, not just until the worker says it is done.
TEST(OrkaTasks, ReleasingTheControlFromItsOwnHandlerKeepsTheLibraryUntilTheWorkerHasEnded) {
  auto host = std::make_unique<OrkaHost>();
  const auto sink = RecordingSink::Make();
  Gate hostLetGo, released, leave;
  auto last = platform::ComPtr<platform::IDispatch>::Adopt(host->control());
  last->AddRef();
  sink->onEvent = [&](const std::string &event) {
    if (event == "progress 0" && last) {
      EXPECT_TRUE(hostLetGo.Wait());
      last.Reset();
      released.Open();
      EXPECT_TRUE(leave.Wait());
    }
  };
  host->Advise(*sink);
  ASSERT_EQ(host->Start(kDeepMate, kDeepMoves), 1);
  host.reset();
  hostLetGo.Open();
  ASSERT_TRUE(released.Wait());
  const int loaded = platform::FreeUnusedLibraries();
  EXPECT_GE(loaded, 1);
  EXPECT_EQ(platform::FreeUnusedLibraries(), loaded) << "unloaded under a running worker";
  leave.Open();
  ExpectNothingAfter(*sink, 1);
  EXPECT_EQ(platform::FreeUnusedLibraries(), loaded - 1);
  ExpectReleased(*sink);
}

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
