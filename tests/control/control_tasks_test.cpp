// Starting, refusing and stopping tasks, from the host's thread and from inside the handlers
// that run on the worker, and taking the control down while a task runs.
#include "control/orka_ids.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

namespace {

using namespace orka;
using testing_support::Gate;
using testing_support::OrkaHost;
using testing_support::RecordingSink;
using testing_support::SolutionsOf;
using testing_support::WaitForNoWorker;
using Events = std::vector<std::string>;

const char *const kTwoRooks = "k7/8/1K6/8/8/8/6R1/7R w - - 0 1";
const char *const kMateInTwo = "8/Q7/8/8/8/8/8/2k1K2R w K - 0 1";
const char *const kDeepMate = "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - 0 1";

// Nothing of a stopped task may come any more: the worker is gone, and a pause long enough for
// a stray event to show up brings none.
void ExpectNothingAfter(RecordingSink &sink, std::size_t count) {
  EXPECT_TRUE(WaitForNoWorker());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(sink.Count(), count);
  const Events events = sink.Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "finished"), 0);
}

// The control has let go of the sink: the test holds the only reference left.
void ExpectReleased(RecordingSink &sink) {
  EXPECT_EQ(sink.AddRef(), 2u);
  sink.Release();
}

TEST(OrkaTasks, MateWhileRunningIsRefusedAndTheTaskGoesOnUnchanged) {
  OrkaHost host;
  Gate entered, refused;
  std::atomic<bool> held = false;
  const auto sink = RecordingSink::Make();
  // The worker waits in its first event until the host has tried to start another task.
  sink->onEvent = [&](const std::string &) {
    if (!held.exchange(true)) {
      entered.Open();
      EXPECT_TRUE(refused.Wait());
    }
  };
  host.Advise(*sink);
  ASSERT_EQ(host.Start(kTwoRooks, 1, 0), 1);
  ASSERT_TRUE(entered.Wait());
  for (const DispId start : {kDispMate, kDispDefend}) {
    EXPECT_EQ(host.Call(start, -1), 1);
    EXPECT_EQ(host.Get(kDispLSuccess), 0);
  }
  refused.Open();
  ASSERT_TRUE(sink->WaitFor("finished"));
  ASSERT_TRUE(WaitForNoWorker());
  const Events events = sink->Events();
  // StopOnFound stayed 0: both keys and the closing reports.
  EXPECT_EQ(SolutionsOf(events), (Events{"Rg2-g8   #", "Rh1-h8   #"}));
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2], "progress 100");
  EXPECT_EQ(events.back(), "finished");
}

TEST(OrkaTasks, PanicOutcomeTellsWhetherATaskWasStopped) {
  OrkaHost host;
  host.Call(kDispClear);
  EXPECT_EQ(host.Call(kDispPanic), 1);
  EXPECT_EQ(host.Get(kDispLSuccess), 0) << "no task ran";

  host.Solve(kMateInTwo, 2); // waits until the worker is gone
  EXPECT_EQ(host.Call(kDispPanic), 1);
  EXPECT_EQ(host.Get(kDispLSuccess), 0) << "the task had ended by itself";
}

TEST(OrkaTasks, PanicEndsTheTaskAndNothingOfItArrivesAfterwards) {
  OrkaHost host;
  Gate entered;
  const auto sink = RecordingSink::Make();
  // A slow host: Panic comes while the worker is still inside the first event.
  sink->onEvent = [&](const std::string &event) {
    if (event == "progress 0") {
      entered.Open();
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  };
  host.Advise(*sink);
  ASSERT_EQ(host.Start(kDeepMate, 6), 1);
  ASSERT_TRUE(entered.Wait());
  EXPECT_EQ(host.Call(kDispPanic), 1);
  EXPECT_EQ(host.Get(kDispLSuccess), 1);
  ExpectNothingAfter(*sink, sink->Count());
  // The next task starts at once and runs on its own position.
  EXPECT_EQ(SolutionsOf(host.Solve(kMateInTwo, 2)), Events{"Qa7-f2    "});
}

TEST(OrkaTasks, MateFromTheFinishedHandlerIsRefused) {
  OrkaHost host;
  Gate started;
  std::atomic<short> outcome = -7;
  const auto sink = RecordingSink::Make();
  // A short task may finish before Mate has returned on the host's thread; the handler waits
  // for that, so that it is its own call that meets the running task.
  sink->onEvent = [&](const std::string &event) {
    if (event == "finished" && started.Wait()) {
      host.Call(kDispMate, 0);
      outcome = host.Get(kDispLSuccess);
    }
  };
  host.Advise(*sink);
  ASSERT_EQ(host.Start(kMateInTwo, 2), 1);
  started.Open();
  ASSERT_TRUE(sink->WaitFor("finished"));
  ASSERT_TRUE(WaitForNoWorker());
  EXPECT_EQ(outcome, 0);
  // Nothing of a second task: the refused Mate started none.
  EXPECT_EQ(sink->Events().back(), "finished");
  EXPECT_EQ(SolutionsOf(sink->Events()), Events{"Qa7-f2    "});
}

TEST(OrkaTasks, PanicFromAHandlerStopsTheTaskWithoutDeadlock) {
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
  ASSERT_EQ(host.Start(kDeepMate, 6), 1);
  ASSERT_TRUE(sink->WaitFor("progress 0"));
  ExpectNothingAfter(*sink, 1);
  EXPECT_EQ(outcome, 1);
  sink->onEvent = nullptr;
  EXPECT_EQ(SolutionsOf(host.Solve(kMateInTwo, 2)), Events{"Qa7-f2    "});
}

// The virtual size of the process, in bytes.
long long AddressSpace() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmSize:", 0) == 0)
      return std::stoll(line.substr(7)) * 1024;
  }
  return -1;
}

TEST(OrkaTasks, AWorkerStoppedFromItsOwnHandlerIsReleased) {
  // Each worker reserves a deep stack; a worker that is never joined or detached keeps it.
  constexpr int kRuns = 8;
  constexpr long long kAllowedGrowth = 512ll << 20;
  OrkaHost host;
  const auto sink = RecordingSink::Make();
  sink->onEvent = [&](const std::string &event) {
    if (event == "progress 0")
      host.Call(kDispPanic);
  };
  host.Advise(*sink);
  long long before = 0;
  for (int run = 0; run <= kRuns; ++run) {
    if (run == 1)
      before = AddressSpace(); // after the first run, whatever it caches
    ASSERT_EQ(host.Start(kDeepMate, 6), 1);
    ASSERT_TRUE(sink->WaitFor("progress 0", run + 1));
    ASSERT_TRUE(WaitForNoWorker());
  }
  EXPECT_LT(AddressSpace() - before, kAllowedGrowth);
}

TEST(OrkaTasks, ReleasingTheControlDuringATaskSilencesIt) {
  OrkaHost host;
  const auto sink = RecordingSink::Make();
  host.Advise(*sink);
  ASSERT_EQ(host.Start(kDeepMate, 6), 1);
  ASSERT_TRUE(sink->WaitFor("progress 0"));
  host.Destroy();
  ExpectNothingAfter(*sink, sink->Count());
  ExpectReleased(*sink);
}

TEST(OrkaTasks, ReleasingTheControlFromItsOwnHandlerIsSafe) {
  auto host = std::make_unique<OrkaHost>();
  const auto sink = RecordingSink::Make();
  Gate hostLetGo;
  // The handler holds the last reference and drops it on the worker, inside the event.
  auto last = platform::ComPtr<platform::IDispatch>::Adopt(host->control());
  last->AddRef();
  sink->onEvent = [&](const std::string &event) {
    if (event == "progress 0" && last) {
      EXPECT_TRUE(hostLetGo.Wait());
      last.Reset();
    }
  };
  host->Advise(*sink);
  ASSERT_EQ(host->Start(kDeepMate, 6), 1);
  host.reset();
  hostLetGo.Open();
  ASSERT_TRUE(sink->WaitFor("progress 0"));
  ExpectNothingAfter(*sink, 1);
  ExpectReleased(*sink);
}

} // namespace
