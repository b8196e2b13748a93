#include "tests/support/bench_problems.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

std::vector<BenchmarkProblem>
BenchProblemsWhere(const std::function<bool(const BenchmarkProblem &)> &keep) {
  std::ifstream file(QUINTABELL_TEST_DATA "/bench_problems.tsv");
  std::string line;
  std::getline(file, line); // the header
  std::vector<BenchmarkProblem> problems;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    BenchmarkProblem p;
    std::getline(std::getline(std::getline(fields, p.id, '\t'), p.fen, '\t') >> p.moves >> std::ws,
                 p.keys);
    if (fields.fail() || p.keys.empty())
      throw std::runtime_error("tests/data/bench_problems.tsv: not id, FEN, moves, keys: " + line);
    if (keep(p))
      problems.push_back(p);
  }
  if (problems.empty() && !file.eof())
    throw std::runtime_error("cannot read tests/data/bench_problems.tsv");
  return problems;
}

} // namespace testing_support
