// Published directmates and mates from games among the benchmark's problems: the engine must
// find exactly their keys, each once. Castling keys, promotion keys, several keys and a
// problem without a key are among them.
#include "problem/solution_text.h"
#include "tests/support/bench_problems.h"
#include "tests/support/engine_fixture.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <sstream>

namespace {

using testing_support::BenchmarkProblem;

class RealProblem : public ::testing::TestWithParam<BenchmarkProblem> {};

TEST_P(RealProblem, KeysAreFound) {
  const BenchmarkProblem &p = GetParam();
  std::multiset<std::string> keys;
  for (const std::string &line : testing_support::Solve(p.fen, p.moves).Solutions())
    keys.insert(problem::CoordinateMove(line, true));
  std::istringstream published(p.keys == "-" ? "" : p.keys);
  EXPECT_EQ(keys, std::multiset<std::string>(std::istream_iterator<std::string>(published), {}));
}

INSTANTIATE_TEST_SUITE_P(Directmates, RealProblem,
                         ::testing::ValuesIn(testing_support::BenchProblemsWhere([](auto &p) {
                           return p.keys != "?";
                         })),
                         [](const auto &info) { return info.param.id; });

} // namespace
