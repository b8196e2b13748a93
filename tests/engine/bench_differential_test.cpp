// The accelerated search against the plain one, and many threads against one, on the
// benchmark's problems that the plain search finishes within a few seconds: every report the
// same, in the same order. The play of the #2s and #3s against the plain search, move by move.
// Slow for a sanitizer build, so it runs in the optimised one.
#include "tests/support/bench_problems.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/play_oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

using testing_support::BenchmarkProblem;
using testing_support::kBenchProblems;

std::vector<std::string> Reports(const BenchmarkProblem &problem, bool plain, int threads = 1) {
  return testing_support::Solve(problem.fen, problem.moves, false,
                                {.plain = plain, .hashMegabytes = 64, .threads = threads})
      .events;
}

class BenchProblem : public ::testing::TestWithParam<BenchmarkProblem> {};

TEST_P(BenchProblem, AcceleratedSearchReportsWhatThePlainOneDoes) {
  EXPECT_EQ(Reports(GetParam(), false), Reports(GetParam(), true));
}

TEST_P(BenchProblem, EveryNumberOfThreadsReportsWhatOneDoes) {
  const std::vector<std::string> one = Reports(GetParam(), false);
  for (const int threads : {2, 3, 8})
    EXPECT_EQ(Reports(GetParam(), false, threads), one) << threads << " threads";
}

INSTANTIATE_TEST_SUITE_P(Sets, BenchProblem, ::testing::ValuesIn(kBenchProblems),
                         [](const auto &info) { return std::string(info.param.id); });

std::vector<BenchmarkProblem> TwoAndThreeMovers() {
  std::vector<BenchmarkProblem> problems;
  std::copy_if(std::begin(kBenchProblems), std::end(kBenchProblems), std::back_inserter(problems),
               [](const BenchmarkProblem &p) { return p.moves <= 3; });
  return problems;
}

class BenchPlay : public ::testing::TestWithParam<BenchmarkProblem> {};

TEST_P(BenchPlay, KeysTriesAndSetPlayAreWhatThePlainSearchProves) {
  for (const bool everyAnswer : {false, true})
    testing_support::CheckPlay(GetParam().fen, GetParam().moves, everyAnswer, 1);
}

// Random three-movers (the two-movers are among the quick tests).
TEST(PlayOfRandomPositions, IsWhatThePlainSearchProvesForThreeMovers) {
  EXPECT_GT(testing_support::CheckRandomPlays(20260414, 3, 100), 15);
}

INSTANTIATE_TEST_SUITE_P(Sets, BenchPlay, ::testing::ValuesIn(TwoAndThreeMovers()),
                         [](const auto &info) { return std::string(info.param.id); });

} // namespace
