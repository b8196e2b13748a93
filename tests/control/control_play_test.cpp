// Play: the play of one first move worked out on the control's worker as a task, with its own
// events, refusals and stop.
#include "control/orka_ids.h"
#include "tests/support/orka_host.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace orka;
using namespace platform;
using namespace testing_support;

const char *kKarge = "5Q2/8/2P1pP2/4k3/4P3/8/4N3/R3K2R w KQ - 0 1";

// Places the position, plays the key and answers every event once the play has finished.
Events PlayEvents(OrkaHost &host, const std::string &fen, short depth, const std::string &key,
                  const std::string &finished) {
  const auto sink = RecordingSink::Make();
  host.Advise(*sink);
  host.Place(fen, depth);
  EXPECT_EQ(host.Play(key), 1);
  EXPECT_TRUE(sink->WaitFor(finished));
  EXPECT_TRUE(WaitForNoWorker());
  return sink->Events();
}

// Van Gool's star flight: four Black moves after the key, so progress at each.
TEST(OrkaPlay, SendsRisingProgressThenTheDocumentThenFinishes) {
  OrkaHost host;
  Events events = PlayEvents(host, "3Q3K/8/3n4/4P3/p2kP3/P5NR/1R3p1B/5B1N w - - 0 1", 2, "Rb2xf2",
                             "play finished 0");
  ASSERT_EQ(events.size(), 6u) << ::testing::PrintToString(events);
  const std::string document = events[3];
  EXPECT_EQ(document.rfind(R"(play {"kind":"key","moves":2,"uci":"b2f2","text":"Rb2xf2",)", 0), 0u)
      << document;
  events[3] = "document";
  EXPECT_EQ(events, (Events{"play progress 25", "play progress 50", "play progress 75", "document",
                            "play progress 100", "play finished 0"}));
  // The control is idle again: a Mate starts.
  EXPECT_EQ(host.Start(), 1);
}

TEST(OrkaPlay, SaysWhyThereIsNoDocument) {
  const struct {
    const char *fen;
    short depth;
    const char *key;
    short result;
  } cases[] = {
      {kKarge, 3, "Kf8-e8", kPlayNoSuchMove},
      {"k7/8/1K6/8/8/8/8/R7 w - - 0 1", 2, "Ra1-a2", kPlayOpponentInCheck},
      {kKarge, 0, "Qf8-e7", kPlayDepthBelowOne},
      {"8/8/8/4k3/8/8/8/R7 w - - 0 1", 2, "Ra1-a2", kPlayNoKingPair},
  };
  for (const auto &c : cases) {
    OrkaHost host;
    const std::string finished = "play finished " + std::to_string(c.result);
    EXPECT_EQ(PlayEvents(host, c.fen, c.depth, c.key, finished),
              (Events{"play progress 100", finished}))
        << c.fen << " " << c.key;
  }
}

TEST(OrkaPlay, IsATaskThatRefusesOthersAndStopsOnPanic) {
  OrkaHost host;
  const auto sink = RecordingSink::Make();
  host.Advise(*sink);
  host.Place(kDeepMate, kDeepMoves);
  ASSERT_EQ(host.Play("Ng3-h5"), 1);
  EXPECT_EQ(host.Start(), 0);
  EXPECT_EQ(host.Play("Ng3-h5"), 0);
  EXPECT_EQ(host.Call(kDispPanic), 1);
  EXPECT_EQ(host.Get(kDispLSuccess), 1);
  EXPECT_TRUE(WaitForNoWorker());
  const Events events = sink->Events();
  EXPECT_TRUE(std::none_of(events.begin(), events.end(), [](const std::string &e) {
    return e.rfind("play finished", 0) == 0 || e.rfind("play {", 0) == 0;
  })) << ::testing::PrintToString(events);
}

} // namespace
