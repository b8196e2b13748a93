// What quintabell-solve writes to stderr: a live progress bar on a terminal and the closing
// summary. stdout is left to the solution texts alone.
#pragma once

#include "engine/engine.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace cli {

class ProgressBar {
public:
  // Draws only when `stream` is a terminal and the caller wants progress.
  ProgressBar(std::FILE *stream, bool wanted);
  void Show(int percent, std::string_view note = {}); // the note follows the percentage
  void Erase();

private:
  std::FILE *stream_;
  bool enabled_;
  bool drawn_ = false;
};

// "2 solutions, 0.153 s, 123456 nodes, 806906 nodes/s[, table hits 41.5%]".
std::string Summary(std::size_t solutions, double seconds, std::uint64_t nodes,
                    const engine::TableStatistics &table);
double TableHitPercent(const engine::TableStatistics &table);

} // namespace cli
