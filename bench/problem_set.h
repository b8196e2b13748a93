// The benchmark's problem sets: tab-separated files with the header "id fen n keys source",
// keys as sorted coordinate moves (e2e4, e7e8q, castling as the king's move e1g1), "-" for none.
#pragma once

#include <string>
#include <vector>

namespace bench {

struct BenchProblem {
  std::string id;
  std::string fen;
  int moves = 0;
  std::vector<std::string> keys; // sorted; empty for "-"
  std::string source;
};

// Reads one set; false with `error` naming the file and line when it cannot be read.
bool ReadProblemSet(const std::string &path, std::vector<BenchProblem> &problems,
                    std::string &error);

} // namespace bench
