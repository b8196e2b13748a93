// The accelerated search against the plain one, and many threads against one, on the
// benchmark's problems that the plain search finishes within a few seconds: every report the
// same, in the same order. Slow for a sanitizer build, so it runs in the optimised one.
#include "tests/support/bench_problems.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::BenchmarkProblem;

std::vector<std::string> Reports(const BenchmarkProblem &problem, bool plain, int threads = 1) {
  return testing_support::Solve(problem.fen, problem.moves, false,
                                {.plain = plain, .hashMegabytes = 64, .threads = threads})
      .events;
}

class BenchProblem : public ::testing::TestWithParam<BenchmarkProblem> {};

TEST_P(BenchProblem, AcceleratedSearchOnAnyNumberOfThreadsReportsWhatThePlainOneDoes) {
  const std::vector<std::string> plain = Reports(GetParam(), true);
  for (const int threads : {1, 2, 3, 8})
    EXPECT_EQ(Reports(GetParam(), false, threads), plain) << threads << " threads";
}

INSTANTIATE_TEST_SUITE_P(Sets, BenchProblem,
                         ::testing::ValuesIn(testing_support::BenchProblemsWhere([](auto &) {
                           return true;
                         })),
                         [](const auto &info) { return info.param.id; });

} // namespace
