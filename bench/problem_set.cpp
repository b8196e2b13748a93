#include "bench/problem_set.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace bench {

namespace {

std::vector<std::string> Split(const std::string &line, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(line);
  while (std::getline(in, part, separator))
    parts.push_back(part);
  return parts;
}

} // namespace

bool ReadProblemSet(const std::string &path, std::vector<BenchProblem> &problems,
                    std::string &error) {
  std::ifstream in(path);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty() || (number == 1 && line.rfind("id\t", 0) == 0))
      continue;
    const std::vector<std::string> fields = Split(line, '\t');
    BenchProblem problem;
    if (fields.size() < 4) {
      error = path + ":" + std::to_string(number) + ": expected id, fen, n and keys";
      return false;
    }
    problem.id = fields[0];
    problem.fen = fields[1];
    try {
      problem.moves = std::stoi(fields[2]);
    } catch (const std::exception &) {
      error = path + ":" + std::to_string(number) + ": bad move count '" + fields[2] + "'";
      return false;
    }
    if (fields[3] != "-")
      problem.keys = Split(fields[3], ' ');
    std::erase(problem.keys, std::string());
    std::sort(problem.keys.begin(), problem.keys.end());
    if (fields.size() > 4)
      problem.source = fields[4];
    problems.push_back(problem);
  }
  return true;
}

} // namespace bench
