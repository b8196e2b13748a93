// The benchmark's problems that the plain search finishes within a few seconds, with the
// published keys of those quick enough for the sanitizer build (tests/data/bench_problems.tsv).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct BenchmarkProblem {
  std::string id;
  std::string fen;
  int moves = 0;
  std::string keys; // coordinate moves, castling as the king's; "-" for none, "?" not checked
};

// The problems `keep` accepts, in the file's order. A file that cannot be read throws: the
// test program stops at its start instead of running no case.
std::vector<BenchmarkProblem>
BenchProblemsWhere(const std::function<bool(const BenchmarkProblem &)> &keep);

} // namespace testing_support
