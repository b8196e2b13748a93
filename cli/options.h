// The command line of quintabell-solve.
#pragma once

#include <optional>
#include <string>

namespace cli {

inline constexpr const char *kUsage =
    "usage: quintabell-solve [--defend] [--moves N] [--stop-on-first] [--quiet] --fen \"FEN\"\n"
    "       quintabell-solve --perft N --fen \"FEN\"\n";

struct Options {
  std::string fen;
  bool defend = false;
  bool stopOnFirst = false;
  bool quiet = false;
  bool help = false;
  std::optional<int> moves;      // White moves, the key included
  std::optional<int> perftDepth; // set: count the move tree instead of solving
};

// False with a one-line `error` for an unknown option, a missing or bad value, or options that
// do not go together.
bool ParseOptions(int argc, const char *const *argv, Options &options, std::string &error);

} // namespace cli
