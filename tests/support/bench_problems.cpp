#include "tests/support/bench_problems.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

std::vector<BenchmarkProblem>
BenchProblemsWhere(const std::function<bool(const BenchmarkProblem &)> &keep) {
  const std::string path = QUINTABELL_TEST_DATA "/bench_problems.tsv";
  std::ifstream file(path);
  std::string line;
  if (!std::getline(file, line)) // the header
    throw std::runtime_error("cannot read " + path);
  std::vector<BenchmarkProblem> problems;
  for (int number = 2; std::getline(file, line); ++number) {
    std::istringstream fields(line);
    BenchmarkProblem p;
    if (!std::getline(fields, p.id, '\t') || !std::getline(fields, p.fen, '\t') ||
        !(fields >> p.moves >> std::ws) || !std::getline(fields, p.keys) || p.keys.empty())
      throw std::runtime_error(path + ":" + std::to_string(number) + ": not id, FEN, moves, keys");
    if (keep(p))
      problems.push_back(p);
  }
  return problems;
}

} // namespace testing_support
