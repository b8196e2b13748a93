#include "control/orka_ids.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

namespace {

using namespace orka;
using testing_support::OrkaHost;
using testing_support::RecordingSink;

TEST(OrkaSmoke, SolvesAMateInThreeThroughTheBoundary) {
  OrkaHost host;
  auto sink = RecordingSink::Make();
  host.Advise(*sink);
  EXPECT_EQ(host.Start("5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1", 3), 1);
  ASSERT_TRUE(sink->WaitFor("finished"));
  const auto events = sink->Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "solution Qf8-e7    "), 1);
  EXPECT_EQ(events[events.size() - 2], "progress 100");
}

} // namespace
