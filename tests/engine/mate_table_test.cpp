// The table of proven results: bounds come back as stored and tightened, a miss says nothing,
// and threads writing at once never make it hand out a bound that was not given for the key.
#include "engine/mate_table.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using engine::MateTable;

TEST(MateTable, AnswersOnlyWhatWasStoredAndKeepsTheTighterBounds) {
  MateTable table;
  ASSERT_GT(table.SetLimit(4), 0u);
  table.NewTask();
  MateTable::Bounds bounds;
  EXPECT_FALSE(table.Probe(42, bounds));
  // A miss must not claim a mate at any number of moves, the largest included.
  EXPECT_GT(bounds.mateAt, 32767);

  table.Store(42, {MateTable::kUnknownMate, 3});
  table.Store(42, {9, 2});
  table.Store(42, {12, 5});
  ASSERT_TRUE(table.Probe(42, bounds));
  EXPECT_EQ(bounds.mateAt, 9);
  EXPECT_EQ(bounds.safeUpTo, 5);

  table.Store(7, {32767, 32766});
  ASSERT_TRUE(table.Probe(7, bounds));
  EXPECT_EQ(bounds.mateAt, 32767);
  EXPECT_EQ(bounds.safeUpTo, 32766);

  table.NewTask();
  EXPECT_FALSE(table.Probe(42, bounds)) << "an earlier task's entry";
}

TEST(MateTable, GrowsWithTheResultsUpToItsLimitAndKeepsFindingThem) {
  MateTable table;
  table.SetLimit(16);
  table.NewTask();
  const std::size_t first = table.Megabytes();
  EXPECT_LT(first, 16u);
  for (std::uint64_t key = 1; key <= 1200000; ++key) {
    table.Store(key * 0x9E3779B97F4A7C15ull, {static_cast<int>(key % 50) + 3, 2});
    if (key % 1024 == 0)
      table.NoteStores(1024);
  }
  EXPECT_EQ(table.Megabytes(), 16u);
  int found = 0;
  for (std::uint64_t key = 399000; key <= 1200000; ++key) {
    MateTable::Bounds bounds;
    if (table.Probe(key * 0x9E3779B97F4A7C15ull, bounds)) {
      ++found;
      EXPECT_EQ(bounds.mateAt, static_cast<int>(key % 50) + 3);
    }
  }
  EXPECT_GT(found, 900) << "the latest results are kept";
}

TEST(MateTable, IsHeldToASafeShareOfMemory) {
  MateTable table;
  EXPECT_EQ(table.SetLimit(1u << 30), MateTable::SafeMegabytes());
}

// Each key is only ever stored with its own bounds, so any other pair read back for it was
// put together from two writes.
TEST(MateTable, ThreadsWritingAtOnceNeverMixTwoEntries) {
  MateTable table;
  table.SetLimit(2);
  table.NewTask();
  constexpr std::uint64_t kKeys = 64; // few buckets: the threads collide all the time
  const auto boundsOf = [](std::uint64_t key) {
    return MateTable::Bounds{static_cast<int>(3 + key % 20), static_cast<int>(1 + key % 2)};
  };
  std::atomic<int> mixed{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 200000; ++round) {
        const std::uint64_t key = ((round * 7 + t) % kKeys) << 40 | 1;
        table.Store(key, boundsOf(key));
        MateTable::Bounds read;
        const std::uint64_t other = ((round * 13 + t) % kKeys) << 40 | 1;
        if (table.Probe(other, read) &&
            (read.mateAt != boundsOf(other).mateAt || read.safeUpTo != boundsOf(other).safeUpTo))
          ++mixed;
      }
    });
  }
  for (std::thread &thread : threads)
    thread.join();
  EXPECT_EQ(mixed, 0);
}

} // namespace
